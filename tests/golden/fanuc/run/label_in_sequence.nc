; A label line reached in sequence is read after its number: the move is written.
O5 G0 X0
M30
