; Sum of 1 to 10 into a RAM word.
;
; The computer has no subtract instruction and no constants inside its
; instructions, so the numbers the program needs are data words in the ROM,
; and counting down is adding -1.  RAM words are at addresses 64 to 127.
;
; Run it:   ./run.sh -R eo-hr.aa.aa=examples/sum.asm
; then press 1 twice (reset and release) and 0 to step: eight presses of 0
; make one microinstruction.  The whole run takes the key presses
; 1,1,0*6040 (755 microinstructions); the program then loops on "halt" with
; AC (R1) = 55 (0x0037), read back from the RAM word sum.

        .equ sum 0x40   ; RAM word 0
        .equ i   0x41   ; RAM word 1

        LODD ten
        STOD i          ; i := 10
        LODD zero
        STOD sum        ; sum := 0
loop:   LODD sum
        ADDD i
        STOD sum        ; sum := sum + i
        LODD i
        ADDD minus1
        STOD i          ; i := i - 1
        ADDD minus1     ; AC := i - 1, not negative while i >= 1,
        JPOS loop       ; so go round again while i >= 1
        LODD sum        ; AC := sum, read back from RAM
halt:   JUMP halt       ; and stay here

ten:    .word 10
zero:   .word 0
minus1: .word -1
