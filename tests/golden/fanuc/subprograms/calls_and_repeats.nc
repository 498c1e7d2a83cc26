%
O3000 (SUBPROGRAMS)
; M98 P<label> L<passes> runs the subprogram inline between two comment records; M99 ends one
; pass. O<n> and G98 L<n> lines open subprogram n; a call starts on the line after the label.
G0 X0 Y0 Z5
; two passes, each 10 further in X (incremental inside the subprogram)
M98 P100 L2
; outside a call, L repeats a block: written L + 1 times
G1 X0 Y1 L2 F10
; the comment and the X of a calling block are not written: the block never reaches the writer
M98 P200 X7 (NOT WRITTEN)
; no passes: only the two comment records
M98 P100 L0
M30
O100 (NOT READ ON A CALL)
G91 G1 X10
G90
M99
N5 G98 L200
G0 Z50
; inside a subprogram a block is not repeated
G1 Z40 L3
M99
