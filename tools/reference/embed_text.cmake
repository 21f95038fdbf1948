# Writes the text file IN as a C++ raw string literal into OUT, for the qorin tool to carry.
file(READ "${IN}" text)
file(WRITE "${OUT}" "R\"qorin(${text})qorin\"\n")
