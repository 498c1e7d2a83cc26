; M30 ends the run before the writer sees its block: no move, nothing after it.
G0 X5 M30
G1 X10
