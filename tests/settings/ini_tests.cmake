# (filled in with the tests of this folder)
