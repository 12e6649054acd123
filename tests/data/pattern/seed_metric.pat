;%UNITS=MM
*GRID, Grid
0, 0,0, 0,3.175
90, 0,0, 0,3.175
