%
O3100 (NATIVE DRILL FAMILY)
; G81, G82, G73 and G83 with a post-processor that supports them all (.cycles: one pattern of
; 2s). Each G code writes a cycle call with the initial level Z0 twice, Z0 - R, 0, R - Z and the
; feed (G82 adds the dwell P, G73 and G83 the peck Q); the tool then waits at Z0 - R, and every
; block with only a position repeats the cycle there with X Y, the Z before and the current Z.
; A new cycle code without G80 (G83 after G73) opens a new cycle call. M30 with the cycle
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
