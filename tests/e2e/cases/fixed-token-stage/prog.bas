10 PRINT
!ZZZ

  : :
!ANY TEXT
20 X = 1.5E+X: Y = 1e5: Z = .: W = 1.E
30 OKAY = 1: OK = 2
40 ::X=1
50 IF A=<B THEN 10
60 A$B%=1
70 X = 1E-
