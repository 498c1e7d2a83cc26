(The control runs a block that ends the program or a subprogram, then ends.)
(Exact: the rapid to X10 and the retract to X20 Z50 are lost, the feed to Z-1 is at X0.)
(Corrected: rapid to 10 0 10, feed to 10 0 -1, rapid to 20 0 50.)
G90 G0 X0 Y0 Z10
M98 P100
G1 Z-1 F100
G0 X20 Z50 M30
O100
G0 X10 M99
