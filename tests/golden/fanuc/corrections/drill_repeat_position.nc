(Only a block with a position drills the open cycle again.)
G90 G0 X0 Y0 Z10
G81 X10 Y0 Z-5 R2 F100

M8
X20
G80
M30
