; A pattern library with faults on purpose: every pattern whose name starts with BAD must be skipped,
; every other one must load.
stray line before any header
*GOOD1, First good pattern
45, 0,0, 0,.125

*BAD_NUMBER, A number that is not one
0, 0,0, 0,.125
90, 0,0, 0,1x5, .5,-.25
0, 0,0, 0,.25

*GOOD2, Second good pattern, with a comma in its description
0, 0,0, .0625,.125, .25,-.125 ; trailing comment
90, 0,0, .0625,.125, .25,-.125

*BAD_SHORT, Too few numbers
0, 0,0, 0

*
0, 0,0, 0,.125

*BAD_EMPTY_FIELD
0, 0,, 0,.125

*good3
0,0,0,0,1,0,-1
*GOOD1, Defined again: ignored
0, 0,0, 0,9
