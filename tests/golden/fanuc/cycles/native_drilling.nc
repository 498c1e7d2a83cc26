%
O2000 (NATIVE DRILLING)
; The post-processor takes G81 and G83 natively (drilling.cycles). G81 opens the cycle and
; writes a cycle call at the first hole; every following block with only a position repeats
; it there; G80 closes it. Cycle line: kind, X Y, initial level twice, initial level - R, 0,
; R - Z, feed (G83 adds the peck Q), zeros, -1. The tool then waits at initial level - R.
G0 X0 Y0 Z10
; G98 before the cycle code defines no label: the line is read whole
G98 G81 X5 Y5 Z-10 R2 F100
X15
X25 Y10
G80
G0 Z20
; a G83 cycle still open at M30: the run closes it before the trailer
G83 X0 Y0 Z-20 R1 Q3 F50
X10
M30
