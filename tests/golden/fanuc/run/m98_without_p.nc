; M98 without P is an ordinary block: the writer takes it as a subprogram call record of
; label 0, then writes the move with the M flag set.
G0 X0 M98
M30
