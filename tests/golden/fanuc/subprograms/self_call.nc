%
; A subprogram that calls itself. The run allows 15 levels (the main program and 14 nested
; subprograms); the call that would open a 16th ends the run: what was written stays, and the
; trailer closes the program. Each level moves one further in Y.
G0 X1
M98 P10
G0 X2
M30
O10
G91 G0 Y1
M98 P10
M99
