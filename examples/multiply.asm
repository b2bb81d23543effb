; Multiplication by repeated addition: product := a * b, here 6 * 7.
;
; The loop adds a to the product b times, counting b down with -1 (the
; computer has no subtract).  JPOS jumps when AC is not negative, so
; "count - 1" not negative means one more addition is due.
;
; Run it:   ./run.sh -R eo-hr.aa.aa=examples/multiply.asm
; then press 1 twice and 0 to step (eight presses of 0 a microinstruction).
; The whole run takes the key presses 1,1,0*4424 (553 microinstructions);
; the program then loops on "halt" with AC (R1) = 42 (0x002A), read back
; from the RAM word product.

        .equ product 0x40   ; RAM word 0
        .equ count   0x41   ; RAM word 1

        LODD b
        STOD count          ; count := b
        LODD zero
        STOD product        ; product := 0
loop:   LODD count
        ADDD minus1         ; AC := count - 1
        JPOS body           ; not negative: count >= 1, add once more
        JUMP done
body:   STOD count          ; count := count - 1
        LODD product
        ADDD a
        STOD product        ; product := product + a
        JUMP loop
done:   LODD product        ; AC := product, read back from RAM
halt:   JUMP halt           ; and stay here

a:      .word 6
b:      .word 7
zero:   .word 0
minus1: .word -1
