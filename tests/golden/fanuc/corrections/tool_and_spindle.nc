(Tool change, spindle direction and program end; M8 is not converted.)
S1200 M3 M4
T3 M6
G96 S200 M8
M5
T4 M6
M2
G1 X50 F100
