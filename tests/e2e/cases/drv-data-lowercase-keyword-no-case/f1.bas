10 DATA 1
20 data 2
