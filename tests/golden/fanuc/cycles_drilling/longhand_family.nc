%
O3200 (LONGHAND DRILL FAMILY)
; The same program without a .cycles file: every hole of G81, G82, G73 and G83 is drilled
; longhand by the writer of cycle 200, labelled "Drilling cycle". It reads the Q parameters
; of the program, which a Fanuc program never sets: every height is 0 and the feed of the
; moves is 0; the head lines carry the position at the initial level, the feed and speed.
; A new cycle code without G80 (G83 after G73) is drilled the same way. M30 with the cycle
; still open: the run closes it before the trailer.
; T3 is kept for the tool lines; the M words M6 and M3 write nothing
T3 M6
S1200 M3
G0 X0 Y0 Z50
G81 X10 Y20 Z-10 R2 F100
X30
G80
G82 X50 Y20 Z-5 R1 P500 F60
Y40
G80
G73 X70 Y20 Z-30 R2 Q5 F80
; a line without G codes, even this comment, repeats the open cycle where the tool stands
G83 X90 Y20 Z-30 R2 Q6 F80
X110
M30
