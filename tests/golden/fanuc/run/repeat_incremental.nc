; An incremental block steps on when it is repeated: X10, then X20.
G91 G1 X10 L1
M30
