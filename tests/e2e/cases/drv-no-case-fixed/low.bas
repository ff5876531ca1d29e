10 print
20 end
