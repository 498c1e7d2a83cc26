; Fanuc, Siemens and G&L Numeripath share the program run: two passes of an incremental
; subprogram step X by 10 each.
G0 X0
M98 P7 L2
M30
O7
G91 G1 X10
M99
