; G98 defines a label only when L follows it at once; here it is the return-level word of a
; drill cycle and the line is an ordinary move (L0: no repeat).
G98 G0 X0 L0
M30
