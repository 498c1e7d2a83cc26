(An inch program: four decimals matter. 1234.5678 needs 8 digits, more than 6 significant ones.)
G20 G90 G1 X1.2345 Y0.0625 F12.5
X1234.5678 Y-0.0004
X-0.00004 Y100000.25
M30
