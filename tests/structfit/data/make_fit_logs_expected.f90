! Writes fit_logs_expected.txt: the entries of the fit's logs and their console twins, in the
! order the C++ test builds them, with the values it hands to the same layouts: two function
! evaluations, a gradient evaluation for status.dat and for the console, an R-factor curve
! (rfactor2.dat), a table of 32 curves of two points (rfactor.dat, a new line after 30 values),
! the gradient's console line and the seed line of status.dat.
! Build and run in this directory (no build or test needs it; its output is committed):
!   gfortran make_fit_logs_expected.f90 -o /tmp/mfl && /tmp/mfl
program make_fit_logs_expected
  use, intrinsic :: ieee_arithmetic
  implicit none
  character(len=20) :: names(2)
  real :: x(2), dx(2), err(2), g(2), d2(2), curve(5), table(32, 2)
  integer :: i, l
  integer(8) :: seed
  names(1) = 'top_layer_depth'
  names(2) = 'sigma_top'
  x = (/ 0.0625, -1.2345678 /)
  dx = (/ 0.0435, -0.15 /)
  err = (/ 0.0391, ieee_value(1.0, ieee_positive_inf) /)
  g = (/ -51.5742, 123456789.0 /)
  d2 = (/ 1163.1786, -0.0005 /)
  curve = (/ 4.2417, 3.9, 10000.0, -0.0004, 0.0005 /)
  do l = 1, 2
    do i = 1, 32
      table(i, l) = real(i) * 1.5 - real(l) * 0.001
    end do
  end do
  seed = -1765135397123456789_8
  open(10, file='fit_logs_expected.txt', status='unknown')
  write(10, *) ' FUNCTION EVALUATION NO:', 7
  write(10, *) ' R-FACTOR:', 4.24169588
  write(10, *) ' FUNCTION EVALUATION NO:', 12345
  write(10, *) ' R-FACTOR:', 12345.6789
  do i = 1, 2
    write(10, '(1X,A,1X,A,F8.3)') ' PARM :', names(i), x(i)
  end do
  call gradient_entry('GRADIENT :')
  call gradient_entry('grad F 2nd Der ')
  do l = 1, 5
    write(10, '(1X,F8.3)') curve(l)
  end do
  do l = 1, 2
    write(10, '(30(1X,F8.3))') (table(i, l), i = 1, 32)
  end do
  write(10, *) 'der 2der ', g(1), d2(1)
  write(10, *) 'Starting Search'
  write(10, *) 'Random seed:', seed
  close(10)
contains
  ! A gradient evaluation's entry; `label` heads its last group.
  subroutine gradient_entry(label)
    character(len=*), intent(in) :: label
    write(10, '(1X,A,I3)') 'GRADIENT EVALUATION No.:', 123
    do i = 1, 2
      write(10, '(1X,A,1X,A,F8.3)') ' PARM :', names(i), x(i)
    end do
    do i = 1, 2
      write(10, '(1X,1A,1X,3F8.3)') 'X,DX AND ERR :', x(i), dx(i), err(i)
    end do
    do i = 1, 2
      write(10, '(1X,A,2F12.3)') label, g(i), d2(i)
    end do
  end subroutine
end program
