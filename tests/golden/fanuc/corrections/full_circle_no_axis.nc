(A full circle programmed by I alone: the tool stands at X20 Y10, the centre 10 to its left)
G0 X20 Y10 Z0
G2 I-10 F100
G1 X25
M30
