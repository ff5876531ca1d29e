10 DATA 1,"A",B
20 data 2
