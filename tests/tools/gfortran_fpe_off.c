/* Debian's xfoil is built to trap floating-point exceptions, and on some processors it then
   stops in a routine whose result it does not use. Preloaded, this stands in for the call of
   the Fortran runtime that turns the trapping on, so that the peer program runs as its
   authors meant it to. */
void _gfortran_set_fpe(int trap) { (void)trap; }
