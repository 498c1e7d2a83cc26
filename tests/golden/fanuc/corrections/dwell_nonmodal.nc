(G4 dwells in its own block: X20 and Y10 after it are still feed moves.)
G90 G1 X10 Y0 Z5 F200
G4 P1500
X20
G4 X0.5
Y10
M30
