! Writes the expected result files of the result-writer tests, line by line under the same
! format texts, for the fixed test values of polysim_result_test (tests/polysim):
!   result_small.0001 .. result_small.0006  (5 atoms, 8 types, 3 layers, 2 x 3 models)
!   result_large.0001                       (230 atoms, no parameters, no overlayer)
! The name of each file itself is written as the placeholder OUTPUTFILE.
! Build and run in this directory (no build or test needs it; its output is committed):
!   gfortran -ffree-line-length-none make_result_expected.f90 -o /tmp/mre && /tmp/mre && rm result_case.mod
module result_case
  implicit none
  integer :: n1, n2, n3, n4, n5, n9, n10, n11, n12, n13, n18, n19
  character(len=80) :: comment
  integer :: start_mode, overlayer_flag, potential_selector, overlayer_type, ion_z
  real :: overlayer_density, ion_mass, ion_energy, shadow_flux, block_flux
  real :: polar_angle, azimuth, repeat_x, repeat_y, atoms_per_layer
  real :: deflection_sum, d2r
  integer :: total_ions
  integer(8), parameter :: seed = 1765135397123456789_8
  integer, allocatable :: type_z(:), atom_i(:), atom_j(:), atom_layer(:), atom_type(:)
  integer, allocatable :: cell_atom(:,:,:), s_choice(:,:), v_choice(:,:)
  real, allocatable :: type_mass(:), atom_x(:), atom_y(:), atom_z(:), atom_sigma(:)
  real, allocatable :: shift(:,:,:), gauss_coeff(:,:), angles(:)
  real, allocatable :: hit(:,:,:), yield(:,:,:,:), s_values(:,:), v_values(:,:)
  character(len=20), allocatable :: s_names(:), v_names(:)
contains

  subroutine allocate_case()
    integer :: a
    allocate(type_z(n2), type_mass(n2))
    ! atom_i, atom_j and atom_layer are set by the case before this call.
    allocate(atom_x(n1), atom_y(n1), atom_z(n1))
    allocate(atom_sigma(n1), atom_type(n1), cell_atom(n3, n4, n5))
    allocate(shift(3, max(n18, 1), n10), gauss_coeff(n11, max(n19, 1)), angles(n9))
    allocate(hit(n11, n10, n1), yield(n11, n10, n1, n9))
    allocate(s_names(max(n12, 1)), s_values(max(n12, 1), n10), s_choice(max(n12, 1), n10))
    allocate(v_names(max(n13, 1)), v_values(max(n13, 1), n11), v_choice(max(n13, 1), n11))
    shift = 0.0
    cell_atom = 0
    do a = 1, n1
      cell_atom(atom_i(a), atom_j(a), atom_layer(a)) = a
    end do
  end subroutine

  subroutine write_file(unit, s, v)
    integer, intent(in) :: unit, s, v
    real :: total(n9), layer(n5, n9), element(n2, n9), y, ang, lsum, ltot, x1, y1, z1, sg
    integer :: j, a, t, l, c, i, jj, bad
    character(len=80) :: input_name, output_name

    total = 0.0
    layer = 0.0
    element = 0.0
    bad = 0
    do j = 1, n9
      do a = 1, n1
        y = yield(v, s, a, j)
        if (y > 9.999) then
          y = 9.999
          yield(v, s, a, j) = 9.999
          bad = bad + 1
        end if
        total(j) = total(j) + y
        layer(atom_layer(a), j) = layer(atom_layer(a), j) + y
        element(atom_type(a), j) = element(atom_type(a), j) + y
      end do
    end do
    total = total / atoms_per_layer
    layer = layer / atoms_per_layer
    element = element / atoms_per_layer

    write(unit, "(/,/,'  Angle   Total signal Elements',/,' ',' (deg)     (layers)    ',97('-'),/,' ')")
    do j = 1, n9
      ang = angles(j) / d2r
      write(unit, "(1X, F7.2, 1X, F7.3, 1X, 6(F7.3, 1X)))") ang, total(j), (element(t, j), t = 1, n2)
    end do
    write(unit, "(/,/,'  Angle   Total signal Layers',/,' ',' (deg)     (layers)    ',97('-'),/,' ')")
    do j = 1, n9
      ang = angles(j) / d2r
      write(unit, "(1X, F7.2, 1X, F7.3, 1X, 6(F7.3, 1X)))") ang, total(j), (layer(l, j), l = 1, n5)
    end do
    write(unit, "(/,/,'  Angle   Total signal','  atom 1    atom 2    atom 3    atom 4    atom 5  '," // &
      "'  atom 6    atom 7    atom 8    atom 9   atom 10',/,' ',' (deg)     (layers)    ',97('-'),/,' ')")
    do j = 1, n9
      ang = angles(j) / d2r
      write(unit, "(1X,F7.2,1X,F7.3,1X,100(F5.3,1X))") ang, total(j), (yield(v, s, a, j), a = 1, min(100, n1))
      do c = 100, n1 - 1, 100
        write(unit, "(23X,20(F7.3,3X))") (yield(v, s, a, j), a = c + 1, min(c + 100, n1))
      end do
    end do
    write(unit, "(/,/,/,' Bad results:',/,' -------------------------------------------------',/," // &
      "' values greater than 10 = ',I4,/,' -------------------------------------------------',/,'')") bad

    write(unit, "(/,/,/,/,/,/,' BLOCKING OUTPUT:',/,' ----------------',/,' ',E8.3," // &
      "' ions/sq.angst. per detection angle.',/,/)") block_flux
    input_name = 'sample.in'
    output_name = 'OUTPUTFILE'
    write(unit, "(' GENERAL INFORMATION:',/,' --------------------',/,' Inputfile :  ',A,/," // &
      "' Outputfile:  ',A,/,' Comment   :  ',A)") input_name, output_name, comment
    write(unit, "(' Seed      :  ',I0)") seed
    if (n12 > 0) then
      write(unit, "(' Structure model ',I3,', corresponding to:')") s
      do i = 1, n12
        write(unit, "(' - ',A,' = ',E9.3)") s_names(i), s_values(i, s_choice(i, s))
      end do
    end if
    if (n13 > 0) then
      write(unit, "(' Vibration model ',I3,', corresponding to:')") v
      do i = 1, n13
        write(unit, "(' - ',A,' = ',E9.3)") v_names(i), v_values(i, v_choice(i, v))
      end do
    end if
    write(unit, "(/,/,' BEAM PARAMETERS:',/,' ----------------',/,' Ions with atomic number',I2," // &
      "' , atomic mass',F6.3,' and energy ',F6.1,' keV',/,' Flux = ',E8.3,' ions/square angstrom.')") &
      ion_z, ion_mass, ion_energy, shadow_flux
    if (start_mode == 0) then
      write(unit, "(' Ions impinge from ',A,' starting positions.')") 'regular'
    else
      write(unit, "(' Ions impinge from ',A,' starting positions.')") 'random'
    end if
    write(unit, "(' Polar angle (with respect to normal)   =  ',F7.2,/," // &
      "' Azimuthal angle (with resp to x-axis)  =  ',F7.2)") polar_angle / d2r, azimuth / d2r
    if (potential_selector == 0) then
      write(unit, "(' ',A,' scattering potential')") 'Moliere'
    else
      write(unit, "(' ',A,' scattering potential')") 'Biersack universal'
    end if
    write(unit, "(' In and outgoing ion trajectories are not connected.')")
    write(unit, "(/,/,' TARGET PARAMETERS:',/,' ------------------',/,' Atom-type  atomic number  atomic mass')")
    do t = 1, n2
      write(unit, "(5X,I1,13X,I2,9X,F7.2)") t, type_z(t), type_mass(t)
    end do
    write(unit, "(/,' X-repeat distance =  ',F8.3,/,' Y-repeat distance =  ',F8.3,/," // &
      "' Nr. of atoms per layer =',F6.1)") repeat_x, repeat_y, atoms_per_layer
    if (overlayer_flag == 1) then
      write(unit, "(/,' An amorphous overlayer, containing',E10.2,'atoms/cm2',' of type ',I1," // &
        "' covers the substrate.',/,' Rms  deflection angle in overlayer = ',E10.2,'  degree')") &
        overlayer_density, overlayer_type, sqrt(deflection_sum / real(total_ions)) / d2r
    end if

    write(unit, "(/,/,' SHADOWING OUTPUT:',/,' -----------------',/,/," // &
      "' Atom Type     X        Y        Z      sigma-X',' sigma-Y sigma-Z        Hitting probability',/,' ')")
    ltot = 0.0
    do l = 1, n5
      write(unit, "(' -------------------------------------------------','-------------')")
      lsum = 0.0
      do i = 1, n3
        do jj = 1, n4
          a = cell_atom(i, jj, l)
          if (a == 0) cycle
          x1 = atom_x(a)
          y1 = atom_y(a)
          z1 = atom_z(a)
          if (a <= n18) then
            x1 = x1 + shift(1, a, s)
            y1 = y1 + shift(2, a, s)
            z1 = z1 + shift(3, a, s)
          end if
          if (a <= n19) then
            sg = sqrt(125.0 / (2.0 * gauss_coeff(v, a)))
          else
            sg = atom_sigma(a)
          end if
          write(unit, "(1X,I3,4X,I1,3(1X,F8.3),2X,3(2X,F6.3),15X,F7.3)") a, atom_type(a), x1, y1, z1, &
            sg, sg, sg, hit(v, s, a)
          lsum = lsum + hit(v, s, a)
        end do
      end do
      lsum = lsum / atoms_per_layer
      write(unit, "(' -------------------------------------------------',/," // &
        "' Hitting probability of layer ',I3,'  = ',F7.3,/,' ')") l, lsum
      ltot = ltot + lsum
    end do
    write(unit, "(' -------------------------------------------------','-------------',/," // &
      "' Summed hitting probability(',I3,' layers)  = ',F7.3)") n5, ltot
  end subroutine

  subroutine write_all(root)
    character(len=*), intent(in) :: root
    character(len=80) :: name
    integer :: s, v
    do s = 1, n10
      do v = 1, n11
        write(name, "(A,'.',I4.4)") root, (s - 1) * n11 + v
        open(10, file=trim(name), status='replace', form='formatted')
        call write_file(10, s, v)
        close(10)
      end do
    end do
  end subroutine

  subroutine release()
    deallocate(type_z, type_mass, atom_x, atom_y, atom_z, atom_i, atom_j, atom_layer)
    deallocate(atom_sigma, atom_type, cell_atom, shift, gauss_coeff, angles, hit, yield)
    deallocate(s_names, s_values, s_choice, v_names, v_values, v_choice)
  end subroutine
end module

program make_result_expected
  use result_case
  implicit none
  real :: pi
  pi = 4.0 * atan(1.0)
  d2r = pi * (1.0 / 180.0)
  call small_case()
  call large_case()
contains

  ! Five atoms of eight types in a 2 x 2 x 3 grid, the third layer empty; two structure and
  ! three vibration models, one and two parameter descriptions, an overlayer; three of the
  ! yields are 12.5, 10.0 and 9.999.
  subroutine small_case()
    integer :: t, a, s, v, j
    real :: sig(3, 2)
    n1 = 5; n2 = 8; n3 = 2; n4 = 2; n5 = 3; n9 = 3; n10 = 2; n11 = 3
    n12 = 1; n13 = 2; n18 = 3; n19 = 2
    comment = 'Test slab for the result files'
    start_mode = 0; overlayer_flag = 1; potential_selector = 0
    overlayer_type = 2; overlayer_density = 1.5e15
    ion_z = 1; ion_mass = 1.008; ion_energy = 100.0; shadow_flux = 50.0; block_flux = 25.0
    polar_angle = 5.0 * d2r; azimuth = 45.0 * d2r
    repeat_x = 2.5; repeat_y = 3.5; atoms_per_layer = 2.0
    deflection_sum = 0.0123; total_ions = 4321
    atom_i = [2, 1, 1, 2, 1]; atom_j = [1, 2, 1, 2, 1]; atom_layer = [1, 1, 2, 2, 1]
    call allocate_case()
    do t = 1, n2
      type_z(t) = 2 * t + 1
      type_mass(t) = real(t) * 1.5 + 0.25
    end do
    atom_x = [1.25, 0.0, 0.0, 1.25, 0.0]
    atom_y = [0.5, 1.75, 0.0, 1.75, 0.0]
    atom_z = [0.0, 0.0, 1.8, 1.8, 0.0]
    atom_sigma = [0.1, 0.1, 0.08, 0.09, 0.12]
    atom_type = [4, 5, 6, 8, 8]
    shift(:, 1, 2) = [0.0, 0.0, -0.1]
    shift(:, 2, 2) = [0.05, 0.0, 0.0]
    shift(:, 3, 2) = [0.0, -0.03, 0.02]
    sig(:, 1) = [0.1, 0.15, 0.2]
    sig(:, 2) = [0.1, 0.1, 0.12]
    do v = 1, n11
      do a = 1, n19
        gauss_coeff(v, a) = 125.0 / (2.0 * sig(v, a) * sig(v, a))
      end do
    end do
    angles = [10.0 * d2r, 12.5 * d2r, 15.0 * d2r]
    s_names(1) = 'top shift'
    s_values(1, 1:2) = [0.0, -0.1]
    s_choice(1, :) = [1, 2]
    v_names(1) = 'sigma top'
    v_values(1, :) = [0.1, 0.15, 0.2]
    v_choice(1, :) = [1, 2, 3]
    v_names(2) = 'sigma second'
    v_values(2, 1:2) = [0.1, 0.12]
    v_choice(2, :) = [1, 1, 2]
    do a = 1, n1
      do s = 1, n10
        do v = 1, n11
          hit(v, s, a) = real(a + 3 * s + 7 * v) / 64.0
          do j = 1, n9
            yield(v, s, a, j) = real(a + 2 * j + s + v) / 16.0
          end do
        end do
      end do
    end do
    yield(1, 2, 1, 2) = 12.5
    yield(3, 1, 5, 1) = 10.0
    yield(2, 1, 2, 3) = 9.999
    call write_all('result_small')
    call release()
  end subroutine

  ! 230 atoms of one type in a 10 x 12 x 2 grid (the second layer partly filled), one model
  ! pair, no parameter descriptions, no overlayer, random starts and the universal potential.
  subroutine large_case()
    integer :: a, j
    n1 = 230; n2 = 1; n3 = 10; n4 = 12; n5 = 2; n9 = 2; n10 = 1; n11 = 1
    n12 = 0; n13 = 0; n18 = 0; n19 = 0
    comment = ' '
    start_mode = 1; overlayer_flag = 0; potential_selector = 1
    overlayer_type = 1; overlayer_density = 0.0
    ion_z = 2; ion_mass = 4.003; ion_energy = 200.0; shadow_flux = 10.0; block_flux = 5.0
    polar_angle = 0.0; azimuth = 0.0
    repeat_x = 2.5; repeat_y = 3.0; atoms_per_layer = 120.0
    deflection_sum = 0.0; total_ions = 1000
    allocate(atom_i(n1), atom_j(n1), atom_layer(n1))
    do a = 1, n1
      atom_i(a) = mod(a - 1, 10) + 1
      atom_j(a) = mod((a - 1) / 10, 12) + 1
      atom_layer(a) = (a - 1) / 120 + 1
    end do
    call allocate_case()
    type_z(1) = 29
    type_mass(1) = 63.546
    do a = 1, n1
      atom_x(a) = 0.25 * real(atom_i(a) - 1)
      atom_y(a) = 0.25 * real(atom_j(a) - 1)
      atom_z(a) = 2.0 * real(atom_layer(a) - 1)
      atom_sigma(a) = 0.125
      atom_type(a) = 1
      hit(1, 1, a) = real(mod(a, 13)) / 16.0
      do j = 1, n9
        yield(1, 1, a, j) = real(mod(7 * a + 3 * j, 80)) / 8.0
      end do
    end do
    angles = [30.0 * d2r, 31.5 * d2r]
    call write_all('result_large')
    call release()
  end subroutine
end program
