; An origin beyond the program ROM: the statements after it are checked but
; placed nowhere, until an origin within it.
        LODD 1
        .org 99999999999999     ; beyond the last word
        LODD 2                  ; not blamed
        LODD nowhere            ; undefined label
        .org 1
        LODD 3                  ; placed at 1
        .org 64                 ; beyond the last word
