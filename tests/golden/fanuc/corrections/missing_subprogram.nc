%
O1000 (MISSING SUBPROGRAM)
(M98 P9998 calls a subprogram kept in a file of its own. The exact semantics runs)
(the program again from its first line, which meets the call again, until the bound)
(of 15 levels ends the run; the corrected semantics leaves the call out.)
G0 X10 Y10 Z5
M98 P9998
G1 Z-1 F100
M30
%
