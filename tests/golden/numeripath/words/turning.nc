; G&L Numeripath: "!" and "/" start comments that are written, ";" silently ends a block (so
; these notes write nothing). S asks for constant surface speed (96) unless the block already
; holds G92; every M word is kept; T alone changes no tool; Y and Z change places, and so do
; J and K; X is not a diameter.
T0101 ! ROUGHING TOOL
G92 S2500
M4 S300
G0 X20 Y5
G1 Y0 F0.3
G1 Z-10 ; DROPPED
G2 X25 Z-15 I0 K-5
M8 G0 X40
G1 X50 / BACK OFF
M6 T2
; S after G96 in the same block: two 96 codes, one record
G96 S200 M3
M30
