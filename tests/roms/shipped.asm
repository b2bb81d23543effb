; The program the computer ships with, in assembly.
        LODD first      ; AC := 0xAAAA
        STOD 0x48       ; RAM word 8 := AC
        LODD second     ; AC := 0xFFFF
        LODD 72         ; AC := RAM word 8, 0xAAAA again
        .org 10
first:  .word 0xAAAA
second: .word -1
