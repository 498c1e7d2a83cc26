; Sinumerik: G4 F2 dwells 2 seconds in its block; M5 stops the spindle; M2 ends the program.
S800 M3
T1 M6
G1 X20 Z-5 F0.2
G4 F2
Z-10
M5
T2
M2
G1 X40
