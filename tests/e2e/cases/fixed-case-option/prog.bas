10 PRINT "OK"
20 print
print 1
