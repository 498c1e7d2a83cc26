; M92 drops its whole line in the dialects that keep it (G&L Numeripath).
G0 X1 M92
M30
