(G91 G28 Z0 returns Z to its reference without a plunge to work zero.)
G90 G0 X10 Y10 Z50
G91 G28 Z0
G90 G0 X20 Y20
G28 X0 Y0
M30
