! Writes the expected output of the formatted and free-form writers, as this Fortran
! runtime produces it, into format_expected.txt and free_expected.txt in the current
! directory. Regenerate with:
!   gfortran -J /tmp make_format_expected.f90 -o /tmp/make_expected && /tmp/make_expected
! Each case is a block:
!   @case <name>
!   @format <format text>           (format cases only)
!   @i4 <integer> | @i8 <integer> | @r4 <hex bits> | @r8 <hex bits> | @a <text>
!                                   (one line per value)
!   @output
!   <the lines written>
!   @end
module cases
  implicit none
  integer, parameter :: uf = 11, ul = 12
  integer :: cur = uf
contains
  subroutine begin(name, fmt)
    character(len=*), intent(in) :: name, fmt
    cur = uf
    write(uf, '(A)') '@case ' // name
    write(uf, '(A)') '@format ' // fmt
  end subroutine

  subroutine begin_free(name)
    character(len=*), intent(in) :: name
    cur = ul
    write(ul, '(A)') '@case ' // name
  end subroutine

  subroutine vi(v)
    integer, intent(in) :: v
    write(cur, '(A,I0)') '@i4 ', v
  end subroutine

  subroutine vi8(v)
    integer(8), intent(in) :: v
    write(cur, '(A,I0)') '@i8 ', v
  end subroutine

  subroutine vr(x)
    real, intent(in) :: x
    write(cur, '(A,Z8.8)') '@r4 ', transfer(x, 0)
  end subroutine

  subroutine vd(d)
    double precision, intent(in) :: d
    write(cur, '(A,Z16.16)') '@r8 ', transfer(d, 0_8)
  end subroutine

  subroutine va(s)
    character(len=*), intent(in) :: s
    write(cur, '(A)') '@a ' // s
  end subroutine

  subroutine output()
    write(cur, '(A)') '@output'
  end subroutine

  subroutine done()
    write(cur, '(A)') '@end'
  end subroutine

  subroutine case_none(name, fmt)
    character(len=*), intent(in) :: name, fmt
    call begin(name, fmt)
    call output()
    write(uf, fmt)
    call done()
  end subroutine

  subroutine case_r(name, fmt, xs)
    character(len=*), intent(in) :: name, fmt
    real, intent(in) :: xs(:)
    integer :: i
    call begin(name, fmt)
    do i = 1, size(xs)
      call vr(xs(i))
    end do
    call output()
    write(uf, fmt) xs
    call done()
  end subroutine

  subroutine case_d(name, fmt, ds)
    character(len=*), intent(in) :: name, fmt
    double precision, intent(in) :: ds(:)
    integer :: i
    call begin(name, fmt)
    do i = 1, size(ds)
      call vd(ds(i))
    end do
    call output()
    write(uf, fmt) ds
    call done()
  end subroutine

  subroutine case_i(name, fmt, is)
    character(len=*), intent(in) :: name, fmt
    integer, intent(in) :: is(:)
    integer :: i
    call begin(name, fmt)
    do i = 1, size(is)
      call vi(is(i))
    end do
    call output()
    write(uf, fmt) is
    call done()
  end subroutine

  subroutine case_a(name, fmt, s)
    character(len=*), intent(in) :: name, fmt, s
    call begin(name, fmt)
    call va(s)
    call output()
    write(uf, fmt) s
    call done()
  end subroutine

  subroutine free_r(name, xs)
    character(len=*), intent(in) :: name
    real, intent(in) :: xs(:)
    integer :: i
    call begin_free(name)
    do i = 1, size(xs)
      call vr(xs(i))
    end do
    call output()
    write(ul, *) xs
    call done()
  end subroutine

  subroutine free_i(name, is)
    character(len=*), intent(in) :: name
    integer, intent(in) :: is(:)
    integer :: i
    call begin_free(name)
    do i = 1, size(is)
      call vi(is(i))
    end do
    call output()
    write(ul, *) is
    call done()
  end subroutine

  subroutine free_i8(name, is)
    character(len=*), intent(in) :: name
    integer(8), intent(in) :: is(:)
    integer :: i
    call begin_free(name)
    do i = 1, size(is)
      call vi8(is(i))
    end do
    call output()
    write(ul, *) is
    call done()
  end subroutine
end module cases

program make_format_expected
  use cases
  use, intrinsic :: ieee_arithmetic
  implicit none
  open(uf, file='format_expected.txt', status='replace', action='write')
  open(ul, file='free_expected.txt', status='replace', action='write')
  call fixed_cases()
  call exponent_cases()
  call integer_and_text_cases()
  call layout_cases()
  call result_rows()
  call sweeps()
  call free_cases()
  close(uf)
  close(ul)
contains
  subroutine fixed_cases()
    call case_r('f_ties_to_even', '(F5.2)', [0.125, 0.375, -0.125, 0.625, 2.675, 1.005])
    call case_r('f_ties_no_decimals', '(F3.0)', [0.5, 1.5, 2.5, 3.5, -2.5])
    call case_r('f_ties_sixteenths', '(F6.3)', [0.0625, 0.1875, -0.0625, 0.3125])
    call case_r('f_rounding', '(F7.3)', [0.0005, 0.0015, 1.2345, -1.2345, 0.1, 1.0/3.0])
    call case_r('f_overflow', '(F5.2)', [100.0, 99.994, 99.996, -10.0, -9.994, -9.996])
    call case_r('f_lead_zero_room', '(F5.3)', [0.5, -0.5, 0.0])
    call case_r('f_lead_zero_no_room', '(F4.3)', [0.5, -0.5])
    call case_r('f_negative_wide', '(F7.3)', [-0.5, -0.0004])
    call case_r('f_tenths_narrow', '(F3.1)', [0.04, -0.04, 0.96])
    call case_r('f_two_columns', '(F2.0)', [0.4, -0.4, 9.0])
    call case_r('f_one_column', '(F1.0)', [0.4])
    call case_r('f_round_up_digit', '(F5.3)', [9.9996, 0.9996, 9.9994, -0.9996])
    call case_r('f_round_up_wider', '(F7.3)', [99.9996, 999.9996, -99.9996])
    call case_r('f_negative_zero', '(F5.3)', [-0.0, -0.0001, -0.00049])
    call case_r('f_negative_zero_room', '(F6.3)', [-0.0])
    call case_r('f_exact_large', '(F40.2)', [1.0e30, -3.0e20])
    call case_r('f_exact_small', '(F35.30)', [0.1, 1.0e-7])
    call case_d('f_double', '(F12.6)', [3.14159265358979d0, -2.5d-7, 12345.0000005d0])
    call case_r('f_not_finite', '(F9.3)', &
        [ieee_value(0.0, ieee_positive_inf), ieee_value(0.0, ieee_negative_inf), &
         ieee_value(0.0, ieee_quiet_nan)])
    call case_r('f_not_finite_narrow', '(F4.1)', &
        [ieee_value(0.0, ieee_positive_inf), ieee_value(0.0, ieee_negative_inf), &
         ieee_value(0.0, ieee_quiet_nan)])
    call case_r('f_not_finite_tiny', '(F3.1)', &
        [ieee_value(0.0, ieee_positive_inf), ieee_value(0.0, ieee_negative_inf)])
  end subroutine

  subroutine exponent_cases()
    call case_r('e8_3', '(E8.3)', [1234.5, -1234.5, 0.0, 1.0e-30, 9.9996, 0.00025])
    call case_r('e9_3', '(E9.3)', [1234.5, -1234.5, 0.0, -0.0, 9.9995, 9.9996, 3.4e38])
    call case_r('e10_2', '(E10.2)', [1.0e-30, 1.0e30, 0.0, 1.5e15, -0.125, 0.995])
    call case_r('e_too_narrow', '(E5.3)', [0.5])
    call case_r('e_one_digit', '(E7.1)', [0.5, -0.5, 0.95, 0.25])
    call case_r('e_not_finite', '(E10.3)', &
        [ieee_value(0.0, ieee_positive_inf), ieee_value(0.0, ieee_negative_inf)])
    call case_d('e_three_digit_exponent', '(E10.3)', [1.0d200, 1.0d-300, 1.0d99, 9.9996d99, &
        -1.0d100, 1.0d-310])
    call case_d('e_three_digit_wide', '(E12.3)', [1.0d200, -1.0d-100])
    call case_d('d21_14', '(D21.14)', [3.14159265358979d0, -1.0d-5, 0.0d0, 1.0d100])
    call case_r('d21_14_real', '(D21.14)', [0.1, -3.5])
    call case_d('d10_4', '(D10.4)', [3.14159265358979d0, 1.0d-99, 0.99996d-99, 1.0d100, &
        -2.0d0, 0.99995d0])
  end subroutine

  subroutine integer_and_text_cases()
    call case_i('i_widths', '(I4)', [-123, 0, 9999, 12345, -1000, -999])
    call case_i('i_overflow', '(I2)', [123, -5, 99, -10])
    call case_i('i_one_column', '(I1)', [0, 9, -1, 10])
    call case_i('i2_2', '(I2.2)', [5, 0, 12, -5, 123])
    call case_i('i_min_digits', '(I5.3)', [-7, 7, -12345, 1234])
    call case_i('i_zero_digits', '(I3.0)', [0, 1, -1])
    call case_i('i_extremes', '(I12)', [huge(0), -huge(0) - 1])
    call case_a('a_full', "(A,'|')", 'abc')
    call case_a('a_cut', "(A2,'|')", 'abc')
    call case_a('a_padded', "(A5,'|')", 'abc')
    call case_a('a_exact', "(A3,'|')", 'abc')
    call case_a('a_empty', "('<',A,'>',A4)", '')
    call case_a('a_blanks_kept', "(A,'|')", ' x  ')
  end subroutine

  subroutine layout_cases()
    integer :: i
    call case_i('x_between', "(3X,I2,2X,'a',4X,I1)", [5, 7])
    call case_i('x_at_end_dropped', '(I3,5X)', [1])
    call case_none('x_only', '(3X)')
    call case_none('x_around_literal', "(3X,'a',3X)")
    call case_none('slash_start', "(/,'a')")
    call case_none('slash_inside', "('a',/,'b')")
    call case_none('slashes_around', "(/,/,'x',/)")
    call case_none('slash_repeat', "(2/,'y')")
    call case_none('slash_no_commas', "('a'//'b')")
    call case_none('slash_only', '(/)')
    call case_none('empty_format', '()')
    call case_none('doubled_apostrophe', "('it''s',' ""q"" ')")
    call case_none('quoted_literal', '("say ""hi""",''!'')')
    call case_none('repeat_literal', "(3('-'),'|',2('ab'))")
    call case_none('blanks_between', "( 1X , 'a' , 2 X , 'b' )")
    call case_r('lower_case', '(1x,f7.2,e10.3,d10.3)', [1.5, 2.5, 3.5])
    call case_i('repeat_data', '(3I3,2(1X,I2))', [1, 2, 3, 4, 5, 6, 7])
    call case_r('repeat_data_reversion', '(1X,8F8.3)', [(real(i) * 0.25, i = 1, 10)])
    call case_r('group_of_exponents', '(8(1X,E9.3))', [(real(i) * 1.5e3, i = 1, 10)])
    call case_i('integers_in_a_row', '(1X,19I4)', [(i * 37 - 300, i = 1, 21)])
    call case_none('double_slash', '(//)')
    call case_none('skip_then_slash', "(1X,/,'a')")
    call case_i('nested_groups', "(I2,2(I2,3(I2,'z')),'y')", [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, &
        11, 12, 13])
    call case_i('nested_deep', "(2(1X,2(I1,','),'.'))", [1, 2, 3, 4])
    call case_i('reversion_group_middle', "(I2,2(I2,'q'),'y',I3)", [1, 2, 3, 4, 5, 6, 7, 8, 9])
    call case_i('reversion_partial', "(2(I2,'x'),'y')", [1, 2, 3, 4, 5])
    call case_i('reversion_no_group', "(I2,'k')", [1, 2, 3])
    call case_i('reversion_with_slash', "('a',I2,/,2('b',I2))", [1, 2, 3, 4, 5])
    call case_r('reversion_row_ten', '(1X,F7.2,1X,F7.3,1X,6(F7.3,1X))', &
        [(real(i) * 1.1, i = 1, 10)])
    call case_r('reversion_exact_fit', '(1X,F7.2,1X,F7.3,1X,6(F7.3,1X))', &
        [(real(i) * 0.7, i = 1, 8)])
    call case_r('reversion_45', '(23X,20(F7.3,3X))', [(real(i) * 0.0123, i = 1, 45)])
    call case_r('values_run_out', '(1X,F7.2,1X,F7.3,1X,6(F7.3,1X))', [1.0, 2.0])
    call case_i('run_out_after_slash', "('a',I3,'b',2X,/,'d',I3,'c')", [1])
    call case_none('run_out_at_once', "('a',I3,'b',2X,/,'d',I3,'c')")
    call case_r('extra_parenthesis', '(1X, F7.2, 1X, F7.3, 1X, 6(F7.3, 1X)))', &
        [10.0, 0.5, 0.25, 0.125])
    call case_r('text_after_end', '(F5.1,1X) anything (I3', [2.5, 3.5])
    call date_stamp()
  end subroutine

  subroutine date_stamp()
    character(len=*), parameter :: f = "(A3,' ',A3,' ',I2,' ',I2.2,':',I2.2,':',I2.2,' ',I4)"
    call begin('date_stamp', f)
    call va('Tue')
    call va('Mar')
    call vi(5)
    call vi(7)
    call vi(3)
    call vi(9)
    call vi(2024)
    call output()
    write(uf, f) 'Tue', 'Mar', 5, 7, 3, 9, 2024
    call done()
    call begin('date_stamp_two_digit_day', f)
    call va('Sat')
    call va('Dec')
    call vi(31)
    call vi(23)
    call vi(59)
    call vi(0)
    call vi(1999)
    call output()
    write(uf, f) 'Sat', 'Dec', 31, 23, 59, 0, 1999
    call done()
  end subroutine

  subroutine result_rows()
    character(len=*), parameter :: row1 = "(/,/,'  Angle   Total signal Elements',/,' '," // &
        "' (deg)     (layers)    ',97('-'),/,' ')"
    character(len=*), parameter :: row6 = '(1X,F7.2,1X,F7.3,1X,100(F5.3,1X))'
    character(len=*), parameter :: row8 = "(/,/,/,' Bad results:',/," // &
        "' -------------------------------------------------',/," // &
        "' values greater than 10 = ',I4,/," // &
        "' -------------------------------------------------',/,'')"
    character(len=*), parameter :: row9 = "(/,/,/,/,/,/,' BLOCKING OUTPUT:',/," // &
        "' ----------------',/,' ',E8.3,' ions/sq.angst. per detection angle.',/,/)"
    character(len=*), parameter :: row10 = "(' GENERAL INFORMATION:',/," // &
        "' --------------------',/,' Inputfile :  ',A,/,' Outputfile:  ',A,/," // &
        "' Comment   :  ',A)"
    character(len=*), parameter :: row12 = "(' - ',A,' = ',E9.3)"
    character(len=*), parameter :: row15 = "(/,/,' BEAM PARAMETERS:',/,' ----------------',/," // &
        "' Ions with atomic number',I2,' , atomic mass',F6.3,' and energy ',F6.1,' keV',/," // &
        "' Flux = ',E8.3,' ions/square angstrom.')"
    character(len=*), parameter :: row17 = "(' Polar angle (with respect to normal)   =  ',F7.2,/," // &
        "' Azimuthal angle (with resp to x-axis)  =  ',F7.2)"
    character(len=*), parameter :: row21 = '(5X,I1,13X,I2,9X,F7.2)'
    character(len=*), parameter :: row22 = "(/,' X-repeat distance =  ',F8.3,/," // &
        "' Y-repeat distance =  ',F8.3,/,' Nr. of atoms per layer =',F6.1)"
    character(len=*), parameter :: row23 = "(/,' An amorphous overlayer, containing',E10.2," // &
        "'atoms/cm2',' of type ',I1,' covers the substrate.',/," // &
        "' Rms  deflection angle in overlayer = ',E10.2,'  degree')"
    character(len=*), parameter :: row26 = '(1X,I3,4X,I1,3(1X,F8.3),2X,3(2X,F6.3),15X,F7.3)'
    character(len=*), parameter :: row27 = "(' -------------------------------------------------'," // &
        "/,' Hitting probability of layer ',I3,'  = ',F7.3,/,' ')"
    character(len=*), parameter :: row28 = "(' -------------------------------------------------'," // &
        "'-------------',/,' Summed hitting probability(',I3,' layers)  = ',F7.3)"
    character(len=80) :: input, output_name, comment
    character(len=20) :: pname

    call case_none('row1_table_head', row1)
    call case_r('row6_atoms', row6, [15.0, 3.2, 0.5, 9.999, 12.5, 0.0004])
    call case_i('row8_bad_count', row8, [3])
    call case_i('row8_bad_count_overflow', row8, [12345])
    call case_r('row9_block_flux', row9, [2.5e-3])

    input = 'nickel110.in'
    output_name = '/home/run/run7.0001'
    comment = 'He on Ni(110), 100 keV'
    call begin('row10_general', row10)
    call va(input)
    call va(output_name)
    call va(comment)
    call output()
    write(uf, row10) input, output_name, comment
    call done()

    pname = 'top layer shift'
    call begin('row12_parameter', row12)
    call va(pname)
    call vr(-0.125)
    call output()
    write(uf, row12) pname, -0.125
    call done()

    call begin('row15_beam', row15)
    call vi(2)
    call vr(4.0026)
    call vr(100.0)
    call vr(0.03)
    call output()
    write(uf, row15) 2, 4.0026, 100.0, 0.03
    call done()

    call case_r('row17_angles', row17, [35.26, -45.0])

    call begin('row21_types', row21)
    call vi(1)
    call vi(28)
    call vr(58.69)
    call vi(10)
    call vi(79)
    call vr(196.97)
    call output()
    write(uf, row21) 1, 28, 58.69, 10, 79, 196.97
    call done()

    call case_r('row22_repeats', row22, [3.524, 2.492, 2.0])

    call begin('row23_overlayer', row23)
    call vr(1.5e15)
    call vi(2)
    call vr(0.1234)
    call output()
    write(uf, row23) 1.5e15, 2, 0.1234
    call done()

    call begin('row26_atom', row26)
    call vi(12)
    call vi(1)
    call vr(1.762)
    call vr(-0.881)
    call vr(0.0)
    call vr(0.05)
    call vr(0.05)
    call vr(0.05)
    call vr(0.98765)
    call output()
    write(uf, row26) 12, 1, 1.762, -0.881, 0.0, 0.05, 0.05, 0.05, 0.98765
    call done()

    call begin('row27_layer', row27)
    call vi(3)
    call vr(0.5)
    call output()
    write(uf, row27) 3, 0.5
    call done()

    call begin('row28_sum', row28)
    call vi(4)
    call vr(1.987)
    call output()
    write(uf, row28) 4, 1.987
    call done()
  end subroutine

  ! Pseudo-random values over many magnitudes, to exercise rounding broadly.
  subroutine sweeps()
    real :: xs(60), u(60), v(60)
    double precision :: ds(30)
    integer :: n, i
    call random_seed(size=n)
    call random_seed(put=[(4711 + 13 * i, i = 1, n)])
    call random_number(u)
    call random_number(v)
    xs = (2.0 * u - 1.0) * 10.0**(int(v * 14.0) - 6)
    call case_r('sweep_f9_3', '(F9.3)', xs)
    call case_r('sweep_f7_2', '(F7.2)', xs)
    call case_r('sweep_e12_5', '(E12.5)', xs)
    call case_r('sweep_e9_3', '(E9.3)', xs)
    ds = dble(xs(1:30)) * 10.0d0**(int(v(31:60) * 400.0) - 200)
    call case_d('sweep_d21_14', '(D21.14)', ds)
    call case_d('sweep_e10_3', '(E10.3)', ds)
    do i = 1, 12
      call free_r('sweep_reals_' // achar(iachar('a') + i - 1), xs(5 * i - 4:5 * i))
    end do
  end subroutine

  subroutine free_cases()
    character(len=80) :: fname
    character(len=24) :: stamp
    call begin_free('no_items')
    call output()
    write(ul, *)
    call done()

    call begin_free('text_only')
    call va(' abc')
    call output()
    write(ul, *) ' abc'
    call done()

    call begin_free('texts_joined')
    call va('abc')
    call va('def')
    call output()
    write(ul, *) 'abc', 'def'
    call done()

    call begin_free('number_then_text')
    call vi(5)
    call va('abc')
    call output()
    write(ul, *) 5, 'abc'
    call done()

    call begin_free('text_then_number')
    call va('abc')
    call vi(5)
    call output()
    write(ul, *) 'abc', 5
    call done()

    call begin_free('empty_texts')
    call va('')
    call vi(5)
    call va('')
    call vi(6)
    call va('')
    call output()
    write(ul, *) '', 5, '', 6, ''
    call done()

    call begin_free('empty_text_only')
    call va('')
    call output()
    write(ul, *) ''
    call done()

    call begin_free('mixed')
    call va('Polar')
    call vr(1.5)
    call va('deg')
    call vi(3)
    call vi(-4)
    call va('x')
    call va('y')
    call vr(-2.0e-3)
    call output()
    write(ul, *) 'Polar', 1.5, 'deg', 3, -4, 'x', 'y', -2.0e-3
    call done()

    stamp = 'Tue Mar  5 07:03:09 2024'
    fname = 'run7.in'
    call begin_free('status_line')
    call va(stamp)
    call va('  Reading input file: ')
    call va(fname)
    call output()
    write(ul, *) stamp, '  Reading input file: ', fname
    call done()

    call begin_free('status_line_count')
    call va(stamp)
    call va('  Ions launched: ')
    call vi(250000)
    call va(' of ')
    call vi(1000000)
    call output()
    write(ul, *) stamp, '  Ions launched: ', 250000, ' of ', 1000000
    call done()

    call free_i('integers', [0, -1, 7, huge(0), -huge(0) - 1])
    call free_i8('integers_64_bit', [0_8, -1_8, 7_8, 2147483648_8, 1765135397123456789_8, &
        huge(0_8), -huge(0_8) - 1_8])

    call begin_free('status_line_seed')
    call va(stamp)
    call va('  Random seed:')
    call vi8(1765135397123456789_8)
    call output()
    write(ul, *) stamp, '  Random seed:', 1765135397123456789_8
    call done()
    call free_r('reals_fixed_form', [0.0, -0.0, 1.0, -1.5, 0.1, 123456.789, 1.0 / 3.0])
    call free_r('reals_at_ends_of_fixed_form', [nearest(0.1, -1.0), 1.0e8, &
        nearest(1.0e9, -1.0), 1.0e9, -0.1])
    call free_r('reals_exponent_form', [1.0e10, -1.0e10, 1.0e-30, 3.4e38, 0.09999, 1.0e-6, &
        nearest(0.0, 1.0), -huge(0.0)])
    call free_r('reals_ties', [1234567.125, 0.5, 0.25, 0.125, 8388607.5])
    call free_r('reals_not_finite', [ieee_value(0.0, ieee_positive_inf), &
        ieee_value(0.0, ieee_negative_inf), ieee_value(0.0, ieee_quiet_nan)])
  end subroutine
end program make_format_expected
