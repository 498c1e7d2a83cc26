; A program without M30 ends after its last line, with the trailer as usual.
G0 X0
