%
; How Fanuc lines are read. Letters in either case; blanks and comments inside a number are
; skipped; a comma ends a number; "/" (block skip) and ";" drop the rest of the line.
g0x1y2z3
; X 10, Y -5 with the comment MINUS, F 1
G1 X1 0 Y-(MINUS)5 F1,5
/G0 X99
G0 X20 / Y99
; X10 stands before G91, so it is still absolute: the move goes to X 10
X10 G91
; X5 stands before G90, so it is still an increment: X 15
X5 G90
; U is an increment on X: X 20
U5
; "#" cannot start a word: X has no number (0) and the block ends there
G1 X#100 Y5
; M91 drops the whole line, but the position it names is kept: the G91 move goes to 31
G0 X30 M91
G91 X1
; no macro call is made; A alone writes no move
G90 G65 P9010 A1
M30
