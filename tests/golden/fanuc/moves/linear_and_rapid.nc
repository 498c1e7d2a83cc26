%
O1000 (LINEAR AND RAPID)
; Rapid and linear moves, absolute and incremental. Text after ";" is ignored by a Fanuc
; control, so these notes write nothing. The program name in parentheses is read with the O
; number (a number takes the comments behind it) and is not written either. A rapid move
; writes -2 in the feed field; a linear move without F writes -1.
N10 G90 G0 X10 Y20 Z5
N20 G1 Z-2 F100
N30 X30 Y20
; G91: X5 Y-5 are increments from (30, 20): the move goes to (35, 15)
N40 G91 X5 Y-5
N50 X-5
; back to absolute; Z keeps -2 throughout
N60 G90 Y0
; values are rounded to 3 decimals: 12.346, and -0.0004 becomes a negative zero
N70 G1 X12.34567 Y-0.0004
N80 G0 Z5
N90 M30
