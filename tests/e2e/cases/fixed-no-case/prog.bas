10 print "hi": draw 1 at 5,6
20 for i = 1 to 2: next i
30 rem
40 REM FINE
50 x = chr$(65)
