(G18: a full turn that climbs in Y is a full circle in X Z; a half turn in X Z is none)
G0 X0 Y0 Z0
G18 G2 X10 Z0 I5 K0 F100
G2 X10 Y-2 Z0 I-5 K0
G3 X10 Z10 I0 K5
M30
