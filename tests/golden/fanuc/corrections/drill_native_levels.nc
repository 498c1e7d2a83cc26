(Native records: R kept, the tool at the G99 level, R and Z under G91.)
G90 G0 X0 Y0 Z20
G99 G81 X10 Y0 Z-5 R2 F100
X20 Z-8
X30
G98 G91 G82 X10 Z-5 R-17 P500
G90 G80
M30
