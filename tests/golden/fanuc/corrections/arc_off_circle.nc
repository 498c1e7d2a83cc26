(The first arc ends 0.05 off its circle, as written; the second is true)
G0 X10 Y10 Z0
G2 X20.05 Y10 I5 J0 F100
G3 X30.05 Y10 I5 J0
M30
