! Writes skew_expected.txt: for each case one line with the bit patterns (hexadecimal) of the
! five 32-bit reals of a skew-file line, then that line as this Fortran runtime writes it under
! the skew file's format. Covers rounding at the last digit, negative values, zeros, and
! values too wide for their fields.
! Build and run in this directory (no build or test needs it; its output is committed):
!   gfortran make_skew_expected.f90 -o /tmp/mse && /tmp/mse
program make_skew_expected
  implicit none
  integer, parameter :: ncase = 8
  real :: v(5, ncase)
  integer :: i, k
  v(:, 1) = (/ 12.5, 1034.25, 998.875, 1.0012, 0.9987 /)
  v(:, 2) = (/ 0.0005, 0.0015, 0.0025, -0.0005, -0.0004 /)
  v(:, 3) = (/ 99.9996, 9999.9995, -999.9996, 123.4565, 2.0 /)
  v(:, 4) = (/ 179.999, -999.999, 0.0, -0.0, 1.0e-8 /)
  v(:, 5) = (/ 1000.0, 10000.0, -1000.0, 1.0e6, 12345.678 /)
  v(:, 6) = (/ -99.999, -100.0, 3.14159265, 2.71828183, 0.33333334 /)
  v(:, 7) = (/ 45.0, 15321.123, 17.5, 0.8765432, 0.0011 /)
  v(:, 8) = (/ 7.25, 0.1, 0.7, 1.0e-3, 5.5e-4 /)
  open(10, file='skew_expected.txt', status='unknown')
  do i = 1, ncase
    write(10, '(5(Z8.8,1X))') (transfer(v(k, i), 1), k = 1, 5)
    write(10, '(1X,F7.3,1X,F8.3,1X,F8.3,1X,F8.3,1X,F8.3)') (v(k, i), k = 1, 5)
  end do
  close(10)
end program
