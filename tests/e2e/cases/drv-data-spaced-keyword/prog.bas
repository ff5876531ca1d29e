10 D a T A 1
