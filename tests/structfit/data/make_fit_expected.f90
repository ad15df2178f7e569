! Writes the expected texts of structfit_setup_test from the set-up fit_case.dat and its base
! file fit_case_base.in, record by record under the fitter's formats:
!   echo_fit_case.txt            the console echo of reading the set-up
!   inmulti_displacement.in      the simulation input for parameter 1 (moves atoms)
!   console_displacement.txt     the console lines of that preparation
!   inmulti_vibration.in         the simulation input for parameter 2 (sets amplitudes)
!   console_vibration.txt        the console lines of that preparation
! The parameter vector is the set-up's start vector. Build and run in this directory (no build
! or test needs it; its output is committed):
!   gfortran -ffree-line-length-none make_fit_expected.f90 -o /tmp/mfe && /tmp/mfe && rm fit_case.mod
module fit_case
  implicit none
  integer, parameter :: maxat = 1000, con = 20, out = 21
  integer :: nsets, nelem, npts, iscale, npar
  integer :: iflag(9), incl(6), nat(50)
  real :: fnom(9), ftol(9), wt(6), reltol, guess(50), step(50), c(50, 300, 6)
  character(len=80) :: expt(9), base(9), comment
  character(len=20) :: pname(50)
  ! The crystal of the base file.
  character(len=80) :: title
  integer :: i2(2), flags(8), nn(19), tz(maxat), ovz, cel(3, maxat), atyp(maxat), ionz
  real :: tm(maxat), ovd, r7(2), pos(3, maxat), amp(3, maxat), rep(2), edge(maxat, 3)
  real :: geo(5), beam(4)
  ! The model set.
  real :: disp(3, maxat, 9), sig(maxat, 9), vals(9)
contains

  subroutine read_setup(setup_file, echo_file)
    character(len=*), intent(in) :: setup_file, echo_file
    integer :: e, m, j, k, i
    open(10, file=setup_file, status='old')
    open(con, file=echo_file, status='replace')
    read(10, '(1X,I3)') nsets
    write(con, '(1X,A,I3,A)') 'THERE ARE', nsets, 'DATA SETS'
    do e = 1, nsets
      read(10, '(1X,A)') expt(e)
      write(con, '(1X,A)') expt(e)
      read(10, '(1X,I3)') iflag(e)
      write(con, *) iflag(e)
      if (iflag(e) == 1) read(10, '(1X,2F6.2)') fnom(e), ftol(e)
      read(10, '(1X,A)') base(e)
      write(con, '(A)') base(e)
    end do
    read(10, '(1X,A)') comment
    write(con, *) comment
    read(10, '(1X,I3)') nelem
    write(con, '(1X,A,I3)') 'NO OF ELEMENTS                 :', nelem
    do m = 1, nelem
      read(10, '(1X,I3,F8.3)') incl(m), wt(m)
      write(con, '(1X,A,I3,F8.3)') 'INCLUDE AND WEIGHT'//char(9)//' '//char(9)//char(9)//'  :', &
        incl(m), wt(m)
    end do
    read(10, '(1X,F6.4)') reltol
    read(10, '(1X,I3)') npts
    read(10, '(1X,I3)') iscale
    write(con, *) 'Scaling option', iscale
    read(10, '(1X,I3)') npar
    write(con, '(1X,A,I3)') 'NUMBER OF PARAMETERS'//char(9)//char(9)//'   :', npar
    write(con, '(1X,A,F8.3)') 'RELATIVE TOLERANCE'//char(9)//char(9)//char(9)//'   :', reltol
    write(con, '(1X,A,I3)') 'NO. OF POINTS IN RFACTOR CURVE :', npts
    do j = 1, npar
      read(10, '(1X,A)') pname(j)
      write(con, '(1X,2A)') 'PARAMETER NAME                 :', pname(j)
      read(10, '(1X,2F8.3)') guess(j), step(j)
      write(con, '(1X,A,2F8.3)') 'GUESS AND GRADIENT STEP SIZE   :', guess(j), step(j)
      read(10, '(1X,I3)') nat(j)
      do k = 1, nat(j)
        read(10, '(1X,6F7.3)') (c(j, k, i), i = 1, 6)
        write(con, '(1X,6F7.3)') (c(j, k, i), i = 1, 6)
      end do
    end do
    write(con, '(1X,A)') 'Parameters Successfully read-in'
    close(10)
    close(con)
  end subroutine

  subroutine read_base(base_file)
    character(len=*), intent(in) :: base_file
    integer :: t, a, i, ax
    open(11, file=base_file, status='old')
    read(11, '(A)') title
    read(11, *) i2
    read(11, *) flags
    read(11, *) nn
    do t = 1, nn(2)
      read(11, *) tz(t), tm(t)
    end do
    read(11, *) ovz, ovd
    read(11, *) r7
    do a = 1, nn(1)
      read(11, *) (pos(i, a), i = 1, 3), (cel(i, a), i = 1, 3), (amp(i, a), i = 1, 3), atyp(a)
    end do
    read(11, *) rep
    do ax = 1, 3
      read(11, *) (edge(i, ax), i = 1, nn(2 + ax))
    end do
    read(11, *) geo
    read(11, *) ionz, beam
    close(11)
  end subroutine

  subroutine alter(p)
    real, intent(in) :: p(:)
    integer :: j, k, i
    do j = 1, npar
      do k = 1, nat(j)
        do i = 1, 3
          if (abs(c(j, k, i)) > 0.0) pos(i, k) = pos(i, k) + c(j, k, i) * p(j)
          if (c(j, k, 3 + i) > 0.0) amp(i, k) = c(j, k, 3 + i) * p(j)
        end do
      end do
    end do
  end subroutine

  ! Planes along axis ax: every value compared with every lower one, the last within t wins.
  subroutine regroup(ax)
    integer, intent(in) :: ax
    real :: v(maxat), t, tmp, hi, s(maxat), org
    integer :: pl(maxat), cnt(maxat), n, i, j, found, np, a
    n = nn(1)
    v(1:n) = pos(ax, 1:n)
    do i = 2, n
      tmp = v(i)
      j = i - 1
      do while (j >= 1)
        if (v(j) <= tmp) exit
        v(j + 1) = v(j)
        j = j - 1
      end do
      v(j + 1) = tmp
    end do
    t = 0.7
    do
      np = 1
      pl(1) = 1
      do i = 2, n
        found = 0
        do j = 1, i - 1
          if (v(i) - v(j) < t) found = j
        end do
        if (found > 0) then
          pl(i) = pl(found)
        else
          np = np + 1
          pl(i) = np
        end if
      end do
      hi = v(1)
      do i = 1, n
        if (pl(i) == 1) hi = max(hi, v(i))
      end do
      if (hi - v(1) <= t) exit
      t = t * 0.9
    end do
    s(1:np) = 0.0
    cnt(1:np) = 0
    do a = 1, n
      do i = 1, n
        if (v(i) == pos(ax, a)) exit
      end do
      cel(ax, a) = pl(i)
      s(pl(i)) = s(pl(i)) + pos(ax, a)
      cnt(pl(i)) = cnt(pl(i)) + 1
    end do
    do i = 1, np
      edge(i, ax) = s(i) / real(cnt(i))
    end do
    org = edge(1, ax)
    pos(ax, 1:n) = pos(ax, 1:n) - org
    edge(2:np, ax) = edge(2:np, ax) - org
    edge(1, ax) = 0.0
    nn(2 + ax) = np
    nn(5 + ax) = np + 1
  end subroutine

  subroutine models(ip)
    integer, intent(in) :: ip
    integer :: h, l, k, i, a, n1
    real :: off(9), d, lo, hi, cen, u, d2, v
    logical :: vib
    n1 = nn(1)
    h = (npts - 1) / 2
    do l = 1, npts
      off(l) = real(l - 1 - h) * step(ip)
    end do
    vib = .true.
    do k = 1, nat(ip)
      if (c(ip, k, 1) > 0.0 .or. c(ip, k, 2) > 0.0 .or. c(ip, k, 3) > 0.0) vib = .false.
    end do
    disp = 0.0
    if (.not. vib) then
      nn(10) = npts; nn(11) = 1; nn(12) = 1; nn(13) = 0
      vals(1:npts) = off(1:npts)
      do k = 1, nat(ip)
        if (c(ip, k, 1) /= 0.0 .or. c(ip, k, 2) /= 0.0 .or. c(ip, k, 3) /= 0.0) then
          do i = 1, 3
            do l = 1, npts
              d = off(l) * c(ip, k, i)
              disp(i, k, l) = d
              if (l == 1) then
                lo = d; hi = d
              else
                if (d < lo) lo = d
                if (d > hi) hi = d
              end if
            end do
            cen = (lo + hi) * 0.5
            pos(i, k) = pos(i, k) + cen
            disp(i, k, 1:npts) = disp(i, k, 1:npts) - cen
          end do
        end if
      end do
      sig(1:n1, 1) = amp(1, 1:n1)
    else
      write(con, *) 'naf', nat(ip)
      nn(10) = 1; nn(11) = npts; nn(12) = 0; nn(13) = 1
      ! The description shows the amplitudes of the last atom that takes part (the crystal's
      ! last atom when none does).
      v = amp(3, n1)
      do a = 1, nat(ip)
        if (c(ip, a, 4) > 0.0 .or. c(ip, a, 5) > 0.0 .or. c(ip, a, 6) > 0.0) v = amp(3, a)
      end do
      vals(1:npts) = v + off(1:npts)
      do l = 1, npts
        do a = 1, n1
          sig(a, l) = amp(1, a)
          if (a <= nat(ip)) then
            if (c(ip, a, 4) > 0.0 .or. c(ip, a, 5) > 0.0 .or. c(ip, a, 6) > 0.0) &
              sig(a, l) = amp(3, a) + off(l)
          end if
        end do
      end do
    end if
    nn(14) = 0
    nn(15) = 0
    do a = 1, n1
      do l = 1, nn(10)
        if (any(disp(:, a, l) /= disp(:, a, 1))) nn(14) = a
      end do
      do l = 1, nn(11)
        if (sig(a, l) /= sig(a, 1)) nn(15) = a
      end do
    end do
    nn(16) = max(nn(12), 1); nn(17) = max(nn(13), 1)
    nn(18) = max(nn(14), 1); nn(19) = max(nn(18), nn(15))
    do a = 1, n1
      u = amp(1, a)
      do l = 1, nn(11)
        u = max(u, sig(a, l))
      end do
      d2 = 0.0
      do l = 1, nn(10)
        d2 = max(d2, disp(1, a, l) * disp(1, a, l) + disp(2, a, l) * disp(2, a, l) + &
                     disp(3, a, l) * disp(3, a, l))
      end do
      amp(1:3, a) = sqrt(u * u + 0.8 * d2)
    end do
  end subroutine

  subroutine write_input(input_file, ip)
    character(len=*), intent(in) :: input_file
    integer, intent(in) :: ip
    integer :: t, a, i, ax, s, l
    open(out, file=input_file, status='replace')
    write(out, '(1X,A)') title
    write(out, '(1X,2I4)') i2
    write(out, '(1X,8I2)') flags
    write(out, '(1X,19I4)') nn
    do t = 1, nn(2)
      write(out, '(1X,I4,F8.3)') tz(t), tm(t)
    end do
    write(out, '(1X,I4,F8.3)') ovz, ovd
    write(out, '(1X,2F8.3)') r7
    do a = 1, nn(1)
      write(out, '(1X,3F8.3,3I4,3F8.3,I4)') (pos(i, a), i = 1, 3), (cel(i, a), i = 1, 3), &
        (amp(i, a), i = 1, 3), atyp(a)
    end do
    write(out, '(1X,2F8.3)') rep
    do ax = 1, 3
      write(out, '(1X,8F8.3)') (edge(i, ax), i = 1, nn(2 + ax))
    end do
    write(out, '(1X,6F8.3)') geo
    write(out, '(1X,I4,2F9.3,1X,E9.3,1X,E9.3)') ionz, beam
    write(con, *) 'Outputting multimodel parameters'
    if (nn(12) > 0) then
      write(out, '(1X,A,I4)') pname(ip), npts
      write(out, '(8(1X,E9.3))') (vals(l), l = 1, npts)
      write(out, '(1X,20I4)') (l, l = 1, nn(10))
    end if
    if (nn(13) > 0) then
      write(out, '(1X,A,I4)') pname(ip), npts
      write(out, '(8(1X,E9.3))') (vals(l), l = 1, npts)
      write(out, '(1X,20I4)') (l, l = 1, nn(11))
    end if
    do s = 1, nn(10)
      write(out, '(1X,3F8.3,2X,3F8.3,2X,3F8.3)') ((disp(i, a, s), i = 1, 3), a = 1, nn(18))
    end do
    do l = 1, nn(11)
      write(out, '(1X,10F8.3)') (sig(a, l), a = 1, nn(19))
    end do
    write(out, '(1X,I4)') 1
    close(out)
  end subroutine

  subroutine prepare(ip, input_file, console_file)
    integer, intent(in) :: ip
    character(len=*), intent(in) :: input_file, console_file
    integer :: ax
    real :: first
    open(con, file=console_file, status='replace')
    call read_base(trim(base(1)))
    write(con, *) 'Readin all'
    call alter(guess(1:npar))
    do ax = 1, 3
      call regroup(ax)
    end do
    write(con, *) 'Crystal Altered'
    write(con, *) 'Crystal Altered'
    first = 0.0
    if (nat(ip) > 0) first = c(ip, 1, 1)
    write(con, *) ip
    write(con, *) nat(ip)
    write(con, *) first
    write(con, *) 'Crystal Altered'
    write(con, *) 'Calling multimodel'
    call models(ip)
    write(con, *) 'multimodel called'
    flags(8) = 1
    call write_input(input_file, ip)
    close(con)
  end subroutine
end module

program make_fit_expected
  use fit_case
  implicit none
  call read_setup('fit_case.dat', 'echo_fit_case.txt')
  call prepare(1, 'inmulti_displacement.in', 'console_displacement.txt')
  call prepare(2, 'inmulti_vibration.in', 'console_vibration.txt')
end program
