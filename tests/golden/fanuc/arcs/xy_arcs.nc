%
; Arcs in the XY plane: code 2 clockwise, 3 counter-clockwise; fields plane, compensation,
; end X Y, centre X Y, depth Z, feed, 0, full-circle flag.
; Centres by I J from the start point: the first such arc fixes that reading for the program.
G0 X0 Y0 Z-1
G2 X10 Y0 I5 J0 F200
G3 X0 Y0 I-5 J0
; end point equal to the start point: a full circle
G2 X0 Y0 I5 J0
G0 X10 Y0
; centre from the radius: a quarter arc round (0, 0)
G3 X0 Y10 R10
; a negative radius takes the arc over 180 degrees: centre (10, 10)
G2 X10 Y0 R-10
; I J again, still read from the start point: centre (10, 10)
G3 X20 Y10 I0 J10
M30
