! Writes domin_log_expected.txt (every entry kind of the minimizer's step log, in kind order
! 1..9) and domin_report_expected.txt (the closing report with the short protocol), with the
! values the C++ test hands to the same layouts.
! Build and run in this directory (no build or test needs it; its output is committed):
!   gfortran make_domin_expected.f90 -o /tmp/mde && /tmp/mde
program make_domin_expected
  implicit none
  real :: x(6), d(6), z(3), y(3), g(2), h(3), sc(3), p(14, 2)
  integer :: i, j
  x = (/ 1.5, -0.000123456, 98765.4, -2.0, 0.0, 3.14159265 /)
  d = (/ -1.0e-7, 2.5e6, 0.5, -0.333333343, 7.0, 1.0 /)
  z = (/ 0.25, -1.75, 1.0e-3 /)
  y = (/ -4.5, 0.0, 12.125 /)
  h = (/ 1330.0, -0.5, 0.0 /)
  sc = (/ 0.0274204239, 1.0, 1.41421354 /)
  open(10, file='domin_log_expected.txt', status='unknown')
  write(10, *) 'Started Search'
  ! kind 1
  write(10, 100) 7, 0.123456789, 1234.5
100 format('0','******************************************',/,1X,I3,'-ter iteration step',/, &
           1X,'f = ',D21.14,' norm(gradx)=',D21.14)
  write(10, *) ' x = '
  write(10, '(1x,5(d21.14,2x))') x
  write(10, *) 'diagonal of updated quasi newton matrix'
  write(10, '(1X,5(D21.14,2X))') z
  ! kind 2
  write(10, '(/,''norm(a)='',D10.4,''  cond(a)='',D10.4)') 5.25476837, 1.03125e12
  write(10, *) 'Direction d = '
  write(10, '(1X,5(D21.14,2X))') d
  ! kind 3
  write(10, 300) 0.0123, 1127.4567, 25.51, 3.0
300 format(/,'sigma=',D10.4,'  dskal=',D10.4,' norm(d)=',D10.4,' number of function calls=',D10.4)
  ! kind 4
  write(10, '(/,''parameter theta2 ='',D10.4)') 0.8
  write(10, *) ' update vector z '
  write(10, '(1X,5(D21.14,2X))') z
  write(10, *) ' update vector y '
  write(10, '(1X,5(D21.14,2X))') y
  ! kind 5
  write(10, '(/,''restart ='',D8.1,'' update = '',D8.1)') -1.0, 1.0
  ! kind 6
  write(10, '(1X,''step   sig = '',D10.4,''  f(x-sig*d)='',D21.14)') 2048.0, -0.000976
  ! kind 7
  write(10, '(1x,''trace a='',d15.7,'' trace b='',d15.7)') 5.25476837, -4.9e-9
  ! kind 8
  write(10, *) ' Scaled X,Gradx '
  write(10, '(5(1X,F8.3))') x(1:3), d(1:3)
  write(10, *) ' Unscaled X,Gradx '
  write(10, '(5(1X,F8.3))') x(4:6), d(4:6)
  ! kind 9
  write(10, *) 'Diagonal of Hessian and scaling vector'
  write(10, '(1X,5(D21.14,2X))') h
  write(10, '(1X,5(D21.14,2X))') sc
  close(10)

  g = (/ -0.000191814, 12.5 /)
  do j = 1, 2
    do i = 1, 14
      p(i, j) = real(i) * 0.5 + real(j) * 100.0
    end do
  end do
  p(13, 1) = -1.0
  open(11, file='domin_report_expected.txt', status='unknown')
  write(11, *) 'termination reason', -3.0
  write(11, '(/,'' BEST FIT ='',F18.10)') 0.0123456789
  write(11, '(/,'' OPTIMIZED PARAMETERS:'')')
  do i = 1, 2
    write(11, '(F14.8)') x(i)
  end do
  write(11, '(/,'' GRADIENTS AT MINIMUM:'')')
  do i = 1, 2
    write(11, '(F14.8)') g(i)
  end do
  write(11, *)
  write(11, '(1X,A,I4,1X,A,I4)') 'function calls', 63, 'gradient calls', 40
  write(11, '(1X,A,I4,1X,A,I4,1X,A,I4)') 'steps', 2, 'updates', 1, 'noupdates', 12345
  write(11, '(1X,A,I4,1X,A,I4)') 'restarts', 0, 'modsteps', 7
  write(11, '('' bfgs short protocol '')')
  do j = 1, 2
    write(11, *) (p(i, j), i = 1, 14)
  end do
  close(11)
end program
