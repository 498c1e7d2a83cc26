(The second arc omits J: it means J0, the centre level with the start point)
G0 X0 Y0 Z0
G3 X10 Y10 I0 J10 F100
G3 X0 Y20 I-10
M30
