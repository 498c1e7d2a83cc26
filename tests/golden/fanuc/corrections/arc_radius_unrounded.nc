(Nearly a half circle by its radius, to the ten-thousandth: rounded to 3 decimals its centre moves 0.014)
G20 G0 X0 Y0 Z0
G2 X1.0004 Y0 R0.5004 F10
M30
