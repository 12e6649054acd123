;; imperial library
*DIAG, Diagonal lines
45, 0,0, 0,.125
*DASHED, Dashes and dots
0, 0,0, .0625,.125, .25,-.0625,0,-.0625
