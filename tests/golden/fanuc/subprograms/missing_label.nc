%
; A call of a label that the program does not have runs the program from its first line, and
; so meets the same call again: 15 levels, then the run ends with the trailer. Every level
; moves one further in X.
G91 G0 X1
M98 P77
M30
