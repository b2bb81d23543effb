; A subroutine called through the stack that returns a value: triple(x) = 3x,
; called twice, so that AC = triple(triple(7)) = 63.
;
; CALL pushes the address of the next instruction on the stack (SP := SP - 1,
; then M[SP] := PC) and jumps; RETN pops it back into PC.  SP starts at 0,
; so the stack's first word is address 0xFFFF, which the memory reads as RAM
; word 63.  The subroutine takes its argument in AC and returns its result
; in AC.
;
; CALL and RETN need the microprogram examples/callret.mic (the shipped one
; stops on them):
;   ./run.sh -R eo-hr.aa.aa.aa=examples/callret.mic -R eo-hr.aa.aa=examples/subroutine.asm
; then press 1 twice and 0 to step (eight presses of 0 a microinstruction).
; The whole run takes the key presses 1,1,0*936 (117 microinstructions);
; the program then loops on "halt" with AC (R1) = 63 (0x003F), read back
; from the RAM word result, and SP (R2) back at 0.

        .equ t      0x40    ; RAM word 0: the subroutine's own
        .equ result 0x41    ; RAM word 1

        LODD seven          ; AC := 7
        CALL triple         ; AC := 21
        CALL triple         ; AC := 63
        STOD result
        LODD result         ; AC := result, read back from RAM
halt:   JUMP halt           ; and stay here

triple: STOD t              ; t := x
        ADDD t              ; AC := 2x
        ADDD t              ; AC := 3x
        RETN                ; back to the instruction after the CALL

seven:  .word 7
