%
O10 (SIEMENS CONTOUR)
; Siemens programs are read exactly as Fanuc programs: ";" ends the line silently,
; parenthesised comments are written (but not the program name, read with the O number),
; only M30 M91 M98 M99 are kept.
N10 G17 G90 G0 X0 Y0 Z2 M3
N20 G1 Z-1 F150 (PLUNGE)
N30 X20
N40 G3 X30 Y10 I0 J10
N50 G1 Y30 ; this note is dropped
N60 G91 X-30
N70 G90 G0 Z10
N80 M30
