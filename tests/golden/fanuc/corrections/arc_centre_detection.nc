(A helix from its first arc: Z moves, so I J fit their circle only in the XY plane)
G0 X10 Y10 Z0
G2 X20 Y10 Z-2 I5 J0 F100
G2 X10 Y10 Z-4 I-5 J0
M30
