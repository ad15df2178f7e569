! Writes the expected result files of monosim's result-writer test (tests/monosim), line by
! line under the same format texts, for the fixed test values that the test builds:
!   result_correlated.out  (103 atoms of 3 types, 5 layers, the last empty; correlation on,
!                           random starts, universal potential, unconnected trajectories)
!   result_plain.out       (4 atoms, 1 type, 2 layers; no correlation, regular starts,
!                           Moliere potential, flag 4 set, flag 5 set)
! Build and run in this directory (no build or test needs it; its output is committed):
!   gfortran -ffree-line-length-none make_result_expected.f90 -o /tmp/mre && /tmp/mre
program make_result_expected
  implicit none
  call write_case('result_correlated.out', 103, 3, 5, 6, 5, 7, &
                  (/ 1, 0, 1, 0, 0, 1, 0, 0 /), 0.35, 2.6)
  call write_case('result_plain.out', 4, 1, 2, 1, 2, 3, &
                  (/ 0, 0, 0, 3, 5, 0, 0, 0 /), 0.0, 0.0)
contains

  subroutine write_case(name, n1, n2, n3, n4, n5, n9, flags, c, dist)
    character(len=*), intent(in) :: name
    integer, intent(in) :: n1, n2, n3, n4, n5, n9, flags(8)
    real, intent(in) :: c, dist
    integer :: counts(19), a, j, t, l, k, i, jj, cell(n3, n4, n5), atype(n1), alayer(n1)
    real :: d2r, first, step, ang(n9), y(n1, n9), hp(n1), sx(n1), sy(n1), sz(n1)
    real :: ax(n1), ay(n1), az(n1), total(n9), layer(n5, n9), element(n2, n9)
    real :: lsum, ltot, apl, polar, azimuth, d2
    character(len=80) :: comment, inname, outname

    d2r = (4.0 * atan(1.0)) * (1.0 / 180.0)
    counts = (/ n1, n2, n3, n4, n5, n3 + 1, n4 + 1, n5 + 1, n9, 2, 3, 0, 0, 7, 7, 0, 0, 0, 0 /)
    apl = 2.0
    first = 120.0 * d2r
    step = 1.5 * d2r
    do j = 1, n9
      ang(j) = first + real(j - 1) * step
    end do
    polar = 12.5 * d2r
    azimuth = 33.0 * d2r
    cell = 0
    do a = 1, n1
      k = a - 1
      i = mod(k, n3) + 1
      jj = mod(k / n3, n4) + 1
      l = k / (n3 * n4) + 1
      cell(i, jj, l) = a
      alayer(a) = l
      atype(a) = mod(a, n2) + 1
      ax(a) = real(i - 1) * 0.75
      ay(a) = real(jj - 1) * 0.5
      az(a) = real(l - 1) * 1.8
      sx(a) = 0.05 + real(mod(a, 10)) / 1000.0
      sy(a) = 0.06 + real(mod(a, 7)) / 1000.0
      sz(a) = 0.07 + real(mod(a, 5)) / 1000.0
      hp(a) = real(mod(a * 13, 1100)) / 1000.0
      do j = 1, n9
        y(a, j) = real(mod(a * 37 + j * 11, 2000)) / 1000.0
      end do
    end do
    total = 0.0
    layer = 0.0
    element = 0.0
    do j = 1, n9
      do a = 1, n1
        total(j) = total(j) + y(a, j)
        layer(alayer(a), j) = layer(alayer(a), j) + y(a, j)
        element(atype(a), j) = element(atype(a), j) + y(a, j)
      end do
    end do
    total = total / apl
    layer = layer / apl
    element = element / apl
    comment = ' Test slab for the monosim result file'
    inname = 'sample.in'
    outname = name

    open(10, file=name, status='replace')
    write(10, '(1X,A,1X,A)') 'Angle   Total Yield', 'Yield per atom (Layers)'
    write(10, '(/)')
    do j = 1, n9
      write(10, '(100F8.3)') ang(j) / d2r, total(j), (y(a, j), a = 1, n1)
    end do
    write(10, '(//)')
    write(10, '(1X,A,1X,A)') 'Angle   Total Yield', 'Yield per layer (Layers)'
    write(10, '(/)')
    do j = 1, n9
      write(10, '(100F8.3)') ang(j) / d2r, total(j), (layer(l, j), l = 1, n5)
    end do
    write(10, '(//)')
    write(10, '(1X,A,1X,A)') 'Angle   Total Yield', 'Yield per element (Layers)'
    write(10, '(/)')
    do j = 1, n9
      write(10, '(100F8.3)') ang(j) / d2r, total(j), (element(t, j), t = 1, n2)
    end do
    write(10, "(/,/,/,/,/,/,'BLOCKING OUTPUT:',/,20('-'),/,' ',E8.3,' ions/sq.angst. per detection angle.',/)") 25000.0
    write(10, '(1X,8I3)') flags
    write(10, '(1X,19I4)') counts
    ! The general information up to the comment, the seed line, then the rest of the format.
    write(10, "(1X,/,' GENERAL INFORMATION:',/,' --------------------',/,' Output from MONOSIM ',/,' Inputfile :  ',A,/,' Outputfile:  ',A,/,' Comment   :  ',A)") inname, outname, comment
    write(10, "(' Seed      :  ',A)") '1765135397123456789'
    write(10, "(/,/,' BEAM PARAMETERS:',/,' ----------------',/,' Ions with atomic number',I2,/,' atomic mass',F6.3,' and energy ',F6.1,' keV',/,' Flux = ',E8.3,' ions/square angstrom.')") 2, 4.0026, 150.0, 30000.0
    if (flags(1) == 0) then
      write(10, "(' Ions impinge from ',A,' starting positions.')") 'regular'
    else
      write(10, "(' Ions impinge from ',A,' starting positions.')") 'random'
    end if
    write(10, "(' Polar angle (with respect to normal)   =  ',F7.2,/,' Azimuthal angle (with resp to x-axis)  =  ',F7.2)") polar / d2r, azimuth / d2r
    if (flags(3) == 0) then
      write(10, "(' ',A,' scattering potential')") 'Moliere'
    else
      write(10, "(' ',A,' scattering potential')") 'Biersack universal'
    end if
    if (flags(4) == 0) write(10, "(' In and outgoing ion trajectories are not connected.')")
    write(10, "(/,/,' TARGET PARAMETERS:',/,' ------------------',/,' Atom-type  atomic number  atomic mass')")
    do t = 1, n2
      write(10, '(5X,I1,13X,I2,9X,F7.2)') t, 27 + t, 58.0 + real(t) * 1.5
    end do
    write(10, "(/,' X-repeat distance =  ',F8.3,/,' Y-repeat distance =  ',F8.3,/,' Nr. of atoms per layer =',F6.1)") real(n3) * 0.75, real(n4) * 0.5, apl
    if (flags(6) == 1) then
      d2 = dist * dist
      write(10, "(/,' Atoms within a distance of ',F8.3,' vibrate with a',' correlation coefficient of ',F4.2)") sqrt(d2), c
    end if
    write(10, "(/,/,' SHADOWING OUTPUT:',/,' -----------------',/,/,' Atom Type     X        Y        Z      sigma-X',' sigma-Y sigma-Z        Hitting probability',/,' ')")
    ltot = 0.0
    do l = 1, n5
      write(10, "(1X,60('-'))")
      lsum = 0.0
      do i = 1, n3
        do jj = 1, n4
          a = cell(i, jj, l)
          if (a == 0) cycle
          write(10, '(1X,I3,4X,I1,3(1X,F8.3),2X,3(2X,F6.3),15X,F7.3)') a, atype(a), ax(a), ay(a), az(a), sx(a), sy(a), sz(a), hp(a)
          lsum = lsum + hp(a)
        end do
      end do
      write(10, "(1X,60('-'),/,'Hitting probability of layer ',I3,'=',F7.3,/)") l, lsum / apl
      ltot = ltot + lsum / apl
    end do
    write(10, "(1X,60('-'),/,'Summed hitting probability(',I3,' layers)  = ',F7.3)") n5, ltot
    close(10)
  end subroutine
end program
