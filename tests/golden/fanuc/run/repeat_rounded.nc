; L repeats a block L more times and is rounded: 1.6 repeats twice, three moves in all.
G1 X10 L1.6
M30
