; M91 drops its whole line.
G0 X1 M91
M30
