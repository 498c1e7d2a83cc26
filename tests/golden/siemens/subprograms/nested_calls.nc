%
; Calls nest: subprogram 1 calls subprogram 2 twice. Positions and the distance mode carry
; into and out of the calls.
G0 X0 Y0
M98 P1
G1 X1
M30
O1
G91
M98 P2 L2
G0 Y5
M99
O2
G0 X10
M99
