10 data 1,DATA
20 D A T A "A",-1 . 5
