; A negative pass count is no pass: only the two comment records of the call.
M98 P100 L-3
M30
O100
G1 X10
M99
