%
; G17 selects XY (plane code 0), G18 XZ (code 2), G19 YZ (code 1). The arc fields follow the
; plane: XY writes X Y, centre I J, depth Z; XZ writes X Z, centre I K, depth -Y; YZ writes
; Y Z, centre J K, depth X. The full-circle flag compares X and Y only, whatever the plane.
G0 X0 Y5 Z0
; XZ half circle round (5, 0), I K from the start point
G18 G2 X10 Z0 I5 K0 F100
; YZ half circle round Y5 Z5: X and Y end where they started, so the flag reads 1
G19 G3 Y5 Z10 J0 K5
; back in XY: centre (15, 5)
G17 G2 X20 Y5 I5 J0
M30
