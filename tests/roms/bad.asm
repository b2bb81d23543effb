; One of each error the assembler reports.
start:  LODD data
        LOAD data           ; unknown mnemonic
        JUMP 4096           ; operand out of range
        STOD nowhere        ; undefined label
start:  ADDD data           ; label defined twice
        LODR 5              ; LODR takes no operand
        JPOS                ; needs an operand
        .word 70000         ; out of range
        .byte 1             ; unknown directive
        LODD 12x            ; neither a number nor a label
data:   .word 7
        .org 62
        .word 1
        .word 2
        .word 3             ; program too long
