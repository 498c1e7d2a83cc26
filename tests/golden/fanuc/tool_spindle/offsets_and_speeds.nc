%
; A Fanuc program keeps only the M words M30, M91, M98 and M99: a tool change (T1 M6) and the
; spindle words (S1000 M3) leave nothing to write. Work offsets G54..G59 write a datum record
; (1..6), G92 a spindle limit and G96 a surface speed (both S times the spindle direction,
; +1 here), G28 a reference return; G28 also resets the tracked position to zero.
T1 M6
S1000 M3
G54
G59 G0 X10 Y10 Z10
G92 S3000
G96 S200
G28 X0 Y0 (HOME)
; incremental after G28: from the reset position, so X 5 (Z is not given and stays 10)
G91 G1 X5
M30
