(What a Fanuc program loses is reported, line by line: word-ignored, number-out-of-range.)
G0 X1 Y2 Z3
(A macro variable: X has no number and moves to 0, the rest of the line is lost.)
G1 X#100 Y5 F100
(A macro assignment and a macro expression write nothing.)
#100=5
G1 X[#100+1]
(IF is no address: the line from IF on is lost.)
IF[#1LE5]GOTO10
(G65 runs no macro; its arguments X4 Y4 are read as a move.)
G65 P9010 X4 Y4
(A comma ends the number: F1,5 is F1. A sign without digits is 0.)
G1 X5 F1,5
G1 Y- Z1
(Text after a semicolon is lost; a semicolon ending the block loses nothing.)
G1 X6 ; Y7
G1 X7;
(Block skip: the rest of the line is lost.)
G1 X8 / Y9
(X twice, and U setting X again: the earlier one is dropped.)
G1 X9 X10
G1 X11 U1
(An assignment: X has no number and moves to 0, and "=" ends the block.)
G1 Y13 X=12
(Beyond the range of whole numbers: T, and the label and call below.)
T99999999999
M98 P99999999999
(Too large to round to 3 decimals: written unrounded, said once.)
G1 X3000000.5
G1 X3000001.5
M30
O99999999999
G1 Y14
M99
