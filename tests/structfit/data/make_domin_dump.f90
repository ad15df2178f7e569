! Writes domin_dump_n2.bin: a restart dump for 2 variables as this Fortran runtime writes
! sequential unformatted records, with distinct values in every item (reserved items 0; the
! first reserved integer holds the no-progress count), so the C++ reader can be checked item
! by item and its writer byte for byte.
! Build and run in this directory (no build or test needs it; its output is committed):
!   gfortran make_domin_dump.f90 -o /tmp/mdd && /tmp/mdd
program make_domin_dump
  implicit none
  integer, parameter :: n = 2
  real :: r(48), v7(7 * n), v5(5 * n), big(2 * n * n + 3000 * 14), sc(n)
  integer :: k
  do k = 1, 48
    r(k) = 0.25 * real(k)
  end do
  r(30) = 0.0  ! the reserved real of record 13
  do k = 1, 7 * n
    v7(k) = 100.0 + real(k)
  end do
  do k = 1, 5 * n
    v5(k) = 200.0 + real(k)
  end do
  do k = 1, size(big)
    big(k) = -real(k)
  end do
  sc = (/ 0.5, 2.0 /)
  open(69, file='domin_dump_n2.bin', form='unformatted', access='sequential', &
       status='replace')
  write(69) 1, 3, 0, 1, 0
  write(69) n, 0
  write(69) 11, 12, 13, 14, 15, 16
  write(69) 17, 3000
  write(69) r(1:3)
  write(69) r(4:6)
  write(69) r(7:10)
  write(69) r(11:14)
  write(69) r(15:18)
  write(69) r(19:21)
  write(69) r(22:24)
  write(69) r(25:26)
  write(69) r(27:30)
  write(69) v7
  write(69) v5
  write(69) big
  write(69) sc
  close(69)
end program
