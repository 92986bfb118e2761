"" "a b" c	 d   

   
#only
