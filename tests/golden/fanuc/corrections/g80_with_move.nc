(G80 Z20 ends the cycle and rises; G0 ends the cycle G81 and moves.)
G90 G0 X0 Y0 Z20
G99 G81 X10 Y10 Z-5 R2 F100
G80 Z20
G81 X30 Y10 Z-5 R2
G0 X50 Y10 Z20
M30
