! Writes reader_expected.txt: reference results of list-directed and fixed-column READ for
! the text-layer reader tests. Build and run from this directory:
!   gfortran make_reader_expected.f90 -o /tmp/mre && /tmp/mre
!
! Each case names the read operations as a shape: operations separated by ';', one letter
! per item: i = default integer, r = default real, c = character(20), k = character(5),
! L = one whole line read with '(A)' into character(20). Fixed-column cases apply the same
! format to every operation. Input text encoding: '|' = end of line, '^' = tab,
! '~' = carriage return. Before each operation every item holds a sentinel (-99, -99.0,
! 'unset'), so an item left unchanged shows as its sentinel.
!
! Output per case:
!   case <name>
!   kind free | fixed <format>
!   shape <shape>
!   input <encoded text>
!   ok <items: i=<value>, r=<IEEE bits as integer>:<value>, c=[<text>]>
!   or: error <line> <message>   (line = the first line whose presence turns the end of the
!       file into a read error; for an early end of file, the last line of the file)
!   end
program make_reader_expected
  implicit none
  integer, parameter :: out = 20, inp = 21, max_items = 40
  integer :: iv(max_items)
  real :: rv(max_items)
  character(len=20) :: cv(max_items)
  character(len=5) :: kv(max_items)

  open(out, file='reader_expected.txt', status='replace', action='write')

  ! Free-form (list-directed) reading.
  call free_case('values_across_lines', 'iii;i', '1|2 3 4|5|')
  call free_case('leftovers_skipped', 'ii;ii', '1 2 3|4 5 6|')
  call free_case('empty_lines_inside', 'iii', '1||   |2 3|')
  call free_case('empty_operation_takes_a_line', 'i;;i', '1|2|3|')
  call free_case('no_final_newline', 'iii', '1 2 3')
  call free_case('tabs_and_commas', 'iiiii', '1^2^^3 , 4,5|')
  call free_case('crlf_lines', 'ii;i', '1 2~|3~|')
  call free_case('repeat_integers', 'iiii', '2*7 2*8|')
  call free_case('repeat_reals', 'rrrr', '3*1.5 2|')
  call free_case('repeat_across_lines', 'iii;i', '1 2*4|9|')
  call free_case('repeat_longer_than_list', 'ii;i', '5*3|9|')
  call free_case('repeat_null', 'iii', '2* 5|')
  call free_case('repeat_null_before_comma', 'iii', '2*,5|')
  call free_case('slash_ends_operation', 'iii;i', '1 /|9|')
  call free_case('slash_after_value', 'iii;i', '1 2/3|9|')
  call free_case('slash_on_later_line', 'iii;i', '1|/ 7|9|')
  call free_case('slash_at_start', 'ir;i', '/|9|')
  call free_case('null_between_commas', 'iii', '1,,3|')
  call free_case('null_with_blanks', 'iii', '1 , , 3|')
  call free_case('null_leading_comma', 'iii', ',2,3|')
  call free_case('comma_at_line_end', 'iii', '1,|2,3|')
  call free_case('comma_at_line_start', 'iii', '1|,2 3|')
  call free_case('null_after_line_end_comma', 'iii', '1,|,3|')
  call free_case('comma_after_blank_lines', 'ii', '1||,5|')
  call free_case('comma_after_blank_lines_starting_operation', 'i;ii', '1||,5 6|')
  call free_case('comma_after_blank_first_line', 'ii', '  |,5,6|')
  call free_case('two_commas_after_blank_lines', 'iii', '||,,5 6|')
  call free_case('comma_first_on_operations_first_line', 'i;ii', '1|,5 6|')
  call free_case('comma_and_blank_lines_then_comma', 'iii', '1,||,5|')
  call free_case('blank_before_comma_on_first_line', 'iii', ' ,5,6|')
  call free_case('reals_exponents', 'rrrr', '1.5D-3 2.5d2 1.5E-3 1.5e+3|')
  call free_case('reals_short_forms', 'rrrr', '.5 5. -.5 +2|')
  call free_case('reals_more_forms', 'rrrr', '1.5E3 -0.0 1E2 +.5E-1|')
  call free_case('reals_sign_exponent', 'rr', '1.5-3 1.5+3|')
  call free_case('integer_literal_into_real', 'rr', '3 -4|')
  call free_case('reals_correctly_rounded', 'rrrr', &
      '0.1 16777217 1.00000005960464477539062500001 3.4028235E38|')
  call free_case('reals_tiny', 'rrr', '1.17549435E-38 1.4E-45 1E-50|')
  call free_case('integers_signed_and_limits', 'iiii', '+5 -6 2147483647 -2147483648|')
  call free_case('characters_unquoted', 'ccc', 'abc,def ghi|')
  call free_case('characters_quoted', 'ccc', '''a b'' "c,d" ''it''''s''|')
  call free_case('characters_quote_inside_word', 'cc', 'ab''c "x""y"|')
  call free_case('characters_cut_at_20', 'cc', 'abcdefghijklmnopqrstuvwxyz ''0123456789012345678901234''|')
  call free_case('characters_stop_at_slash', 'ccc', 'ab/cd x|')
  call free_case('characters_quoted_slash', 'cc', '''a/b'' c|')
  call free_case('characters_repeat', 'ccc', '2*''a b'' 12abc|')
  call free_case('characters_null', 'ccc', 'a,,c|')
  call free_case('characters_tab_separated', 'ccc', 'a^b ^ c|')
  call free_case('characters_short_kind', 'kk', 'abcdefg xy|')
  call free_case('quoted_across_lines', 'cc', '''ab|cd'' x|')
  call free_case('mixed_items', 'irc;i', '5 2.5 name extra|7|')
  call free_case('parameter_description', 'ci;rr;iii', 'height 2|0.5 1.0|1 2 1|')
  call free_case('whole_line_then_values', 'L;ii', '  hello world|1 2|')
  call free_case('whole_line_cut_and_crlf', 'L;L;L', 'abcdefghijklmnopqrstuvwxyz|short~||')
  call free_case('error_bad_integer_real_literal', 'iii', '1 2.5 3|')
  call free_case('error_bad_integer_on_later_line', 'iii', '1|2||x3|')
  call free_case('error_bad_integer_trailing_dot', 'i', '2.|')
  call free_case('error_bad_integer_exponent', 'i', '1e3|')
  call free_case('error_integer_overflow', 'ii', '1 2147483648|')
  call free_case('error_zero_repeat', 'ii', '0*3 1|')
  call free_case('error_bad_real_word', 'rr', '1.5 abc|')
  call free_case('error_bad_real_two_points', 'r', '1.2.3|')
  call free_case('error_bad_real_empty_exponent', 'r', '1.5e|')
  call free_case('error_bad_real_sign_alone', 'r', '-|')
  call free_case('error_bad_real_point_alone', 'r', '.|')
  call free_case('error_bad_real_quoted', 'r', '''1''|')
  call free_case('error_text_after_quote', 'cc', '''ab''cd x|')
  call free_case('error_end_of_file', 'iii', '1 2|')
  call free_case('error_end_of_file_later_op', 'ii;ii', '1 2|3|')
  call free_case('error_end_of_file_blank_tail', 'iii', '1|2||  |')
  call free_case('error_end_of_file_whole_line', 'i;L', '1|')
  call free_case('error_end_of_file_in_quote', 'cc', '''ab|cd|')

  ! Fixed-column (formatted) reading.
  call fixed_case('i3_after_1x', '(1X,I3)', 'i', ' 12|')
  call fixed_case('i3_blanks_ignored', '(1X,I3)', 'i', ' 1 2|')
  call fixed_case('i3_signs', '(1X,I3,I3)', 'ii', ' -12 +3|')
  call fixed_case('i3_all_blank', '(1X,I3)', 'i', '    |')
  call fixed_case('i3_short_record', '(1X,I3)', 'i;i', '|  7|')
  call fixed_case('value_outside_columns', '(1X,I3)', 'i', '   1234|')
  call fixed_case('f_implied_decimals', '(1X,F8.3)', 'r', '    12345|')
  call fixed_case('f_explicit_point', '(1X,2F6.2)', 'rr', '   1.5  2.25|')
  call fixed_case('f_implied_with_blanks', '(1X,2F6.2)', 'rr', ' 1 2 3   45 6|')
  call fixed_case('f_short_record_implied', '(1X,F8.3)', 'r', ' 12|')
  call fixed_case('f_exponents', '(1X,4F8.3)', 'rrrr', ' 1.5E2   15E1    1.5D-1  -.5E+1|')
  call fixed_case('f_blank_in_exponent', '(1X,F8.3)', 'r', ' 1.5 E 2|')
  call fixed_case('f_all_blank', '(1X,F8.3)', 'r', '|')
  call fixed_case('f_sign_exponent', '(1X,F8.3)', 'r', '  1.5-2|')
  call fixed_case('comma_ends_real_fields', '(1X,3F6.2)', 'rrr', ' 1,  2.5,3|')
  call fixed_case('comma_after_full_field', '(2F6.2)', 'rr', '123456,7|')
  call fixed_case('comma_alone_in_field', '(2F6.2)', 'rr', ' 1,,2|')
  call fixed_case('comma_then_skip', '(1X,F4.1,1X,F4.1)', 'rr', ' 1,2  3.5|')
  call fixed_case('comma_ends_integer_fields', '(1X,I3,I3)', 'ii', ' 12,4|')
  call fixed_case('comma_between_integers', '(I3,I3,I3)', 'iii', '1,2,3|')
  call fixed_case('comma_leaves_text_alone', '(I3,A5)', 'ik', '1,a,b,c|')
  call fixed_case('f_sign_alone', '(4F6.2)', 'rrrr', '     -     +  -  ,   -|')
  call fixed_case('f_point_alone', '(4F6.2)', 'rrrr', '     .    -.  - . ., ,|')
  call fixed_case('f_exponent_without_mantissa_digits', '(3F6.2)', 'rrr', '    E2  -E2  .E2|')
  call fixed_case('f_exponent_sign_with_blank_digits', '(4F7.3)', 'rrrr', &
      '1.5E+  1.5d-    15+    15E- |')
  call fixed_case('e_exponent_sign_with_blank_digits', '(E9.3)', 'r', ' 0.150E+ |')
  call fixed_case('f_exponent_sign_then_blank_then_digit', '(F7.3)', 'r', '1.5E+ 2|')
  call fixed_case('error_exponent_letter_alone', '(F8.3)', 'r', '  1.5E  |')
  call fixed_case('error_exponent_sign_in_last_column', '(F7.3)', 'r', '  1.5E+|')
  call fixed_case('error_exponent_sign_at_record_end', '(F7.3)', 'r', '1.5-|')
  call fixed_case('error_exponent_sign_before_comma', '(F7.3)', 'r', '1.5E+,2|')
  call fixed_case('error_integer_sign_alone', '(I3)', 'i', '  -|')
  call fixed_case('error_integer_sign_before_comma', '(I3)', 'i', ' -,|')
  call fixed_case('error_point_and_letter_alone', '(F6.2)', 'r', '   -.E|')
  call fixed_case('e_as_f', '(1X,I4,2F9.3,1X,E9.3,1X,E9.3)', 'irrrr', &
      '   2    4.003    1.000 0.150E+02 0.500E+00|')
  call fixed_case('i_and_f_record', '(1X,I3,F8.3)', 'ir;ir', '  1   0.500|  0   1.000|')
  call fixed_case('six_columns', '(1X,6F7.3)', 'rrrrrr', '  0.100 -0.050  1.000  0.000  0.080  0.080|')
  call fixed_case('a_bare', '(1X,A)', 'c', ' Ni(100) base file|')
  call fixed_case('a_bare_long_record', '(1X,A)', 'c', ' abcdefghijklmnopqrstuvwxyz|')
  call fixed_case('a_bare_short_item', '(1X,A)', 'k', ' abcdefgh|')
  call fixed_case('a_narrow', '(A5)', 'c', 'abcdefgh|')
  call fixed_case('a_wider_than_item', '(A8)', 'k', 'abcdefgh|')
  call fixed_case('a_crlf', '(A)', 'c', 'text~|')
  call fixed_case('x_skips', '(3X,I2,2X,I2)', 'ii', 'abc12xy34|')
  call fixed_case('slash_next_record', '(1X,I3/1X,I3)', 'ii', '  1|  2|')
  call fixed_case('slash_after_last_item', '(1X,I3/1X,I3)', 'i;i', '  1|  2|  3|  4|')
  call fixed_case('error_end_of_file_at_trailing_slash', '(1X,I3/1X,I3)', 'i;i', '  1|  2|  3|')
  call fixed_case('reversion_whole_format', '(1X,2I4)', 'iiiii', '    1   2|   3   4|   5|')
  call fixed_case('reversion_to_group', '(I2,2(1X,I2))', 'iiiiiii', ' 1  2  3|  4  5|  6  7|')
  call fixed_case('nested_repeat', '(2(I1,2(1X,I1)))', 'iiiiii', '1 2 34 5 6|')
  call fixed_case('repeat_group_of_reals', '(8(1X,E9.3))', 'rrr', ' 0.100E+01 0.200E+01 3.|')
  call fixed_case('error_bad_integer', '(1X,I3)', 'i;i', '  1| 1a|')
  call fixed_case('error_real_in_integer', '(1X,I3)', 'i', ' 1.5|')
  call fixed_case('error_integer_overflow', '(I12)', 'i', ' 21474836470|')
  call fixed_case('error_bad_real', '(1X,F6.2)', 'r', ' 1.2.3|')
  call fixed_case('error_bad_real_word', '(1X,2F6.2)', 'rr', '   1.0   abc|')
  call fixed_case('error_end_of_file', '(1X,I3)', 'i;i;i', '  1|  2|')
  call fixed_case('error_end_of_file_at_slash', '(1X,I3/1X,I3)', 'ii', '  1|')
  call fixed_case('error_end_of_file_reversion', '(1X,I3)', 'ii', '  1|')

  close(out)

contains

  ! Runs a list-directed case and writes its reference result.
  subroutine free_case(name, shape, text)
    character(len=*), intent(in) :: name, shape, text
    call run_case(name, '', shape, text)
  end subroutine

  ! Runs a formatted case and writes its reference result.
  subroutine fixed_case(name, fmt, shape, text)
    character(len=*), intent(in) :: name, fmt, shape, text
    call run_case(name, fmt, shape, text)
  end subroutine

  subroutine run_case(name, fmt, shape, text)
    character(len=*), intent(in) :: name, fmt, shape, text
    integer :: ios, nitems, k, nlines, err_line
    character(len=300) :: msg
    write(out, '(a)') 'case ' // name
    if (len(fmt) == 0) then
      write(out, '(a)') 'kind free'
    else
      write(out, '(a)') 'kind fixed ' // fmt
    end if
    write(out, '(a)') 'shape ' // shape
    write(out, '(a)') 'input ' // text
    nlines = count_lines(text)
    call try_case(fmt, shape, text, nlines, ios, msg, nitems)
    if (ios == 0) then
      call write_items(shape, nitems)
    else
      err_line = nlines
      if (ios > 0) then
        ! The first line whose presence turns the early end into this error holds the fault.
        do k = 1, nlines
          call try_case(fmt, shape, text, k, ios, msg, nitems)
          if (ios > 0) then
            err_line = k
            exit
          end if
        end do
      end if
      write(out, '(a,i0,a)') 'error ', err_line, ' ' // trim(msg)
    end if
    write(out, '(a)') 'end'
  end subroutine

  integer function count_lines(text)
    character(len=*), intent(in) :: text
    integer :: i
    count_lines = 0
    do i = 1, len(text)
      if (text(i:i) == '|') count_lines = count_lines + 1
    end do
    if (len(text) > 0) then
      if (text(len(text):len(text)) /= '|') count_lines = count_lines + 1
    end if
  end function

  ! Writes the first `keep` lines of the decoded text to case.tmp as raw bytes.
  subroutine write_input(text, keep)
    character(len=*), intent(in) :: text
    integer, intent(in) :: keep
    integer :: u, i, lines
    character(len=1) :: ch
    open(newunit=u, file='case.tmp', access='stream', form='unformatted', status='replace')
    lines = 0
    do i = 1, len(text)
      if (lines >= keep) exit
      ch = text(i:i)
      select case (ch)
      case ('|')
        write(u) achar(10)
        lines = lines + 1
      case ('^')
        write(u) achar(9)
      case ('~')
        write(u) achar(13)
      case default
        write(u) ch
      end select
    end do
    close(u)
  end subroutine

  subroutine try_case(fmt, shape, text, keep, ios, msg, nitems)
    character(len=*), intent(in) :: fmt, shape, text
    integer, intent(in) :: keep
    integer, intent(out) :: ios, nitems
    character(len=*), intent(out) :: msg
    integer :: first, last
    call write_input(text, keep)
    iv = -99
    rv = -99.0
    cv = 'unset'
    kv = 'unset'
    msg = ''
    ios = 0
    nitems = 0
    open(inp, file='case.tmp', status='old', action='read')
    first = 1
    do while (first <= len(shape) + 1)
      last = index(shape(first:), ';')
      if (last == 0) then
        last = len(shape) + 1
      else
        last = first + last - 1
      end if
      call read_op(fmt, shape(first:last - 1), nitems, ios, msg)
      nitems = nitems + (last - first)
      if (ios /= 0) exit
      first = last + 1
    end do
    close(inp)
  end subroutine

  ! One read operation; its items start at index base + 1 of the value tables.
  subroutine read_op(fmt, op, base, ios, msg)
    character(len=*), intent(in) :: fmt, op
    integer, intent(in) :: base
    integer, intent(out) :: ios
    character(len=*), intent(inout) :: msg
    integer :: n, j
    n = len(op)
    if (n == 0) then
      if (len(fmt) == 0) then
        read(inp, *, iostat=ios, iomsg=msg)
      else
        read(inp, fmt, iostat=ios, iomsg=msg)
      end if
    else if (op == repeat('i', n)) then
      if (len(fmt) == 0) then
        read(inp, *, iostat=ios, iomsg=msg) (iv(base + j), j = 1, n)
      else
        read(inp, fmt, iostat=ios, iomsg=msg) (iv(base + j), j = 1, n)
      end if
    else if (op == repeat('r', n)) then
      if (len(fmt) == 0) then
        read(inp, *, iostat=ios, iomsg=msg) (rv(base + j), j = 1, n)
      else
        read(inp, fmt, iostat=ios, iomsg=msg) (rv(base + j), j = 1, n)
      end if
    else if (op == repeat('c', n)) then
      if (len(fmt) == 0) then
        read(inp, *, iostat=ios, iomsg=msg) (cv(base + j), j = 1, n)
      else
        read(inp, fmt, iostat=ios, iomsg=msg) (cv(base + j), j = 1, n)
      end if
    else if (op == repeat('k', n)) then
      if (len(fmt) == 0) then
        read(inp, *, iostat=ios, iomsg=msg) (kv(base + j), j = 1, n)
      else
        read(inp, fmt, iostat=ios, iomsg=msg) (kv(base + j), j = 1, n)
      end if
    else if (op == 'L') then
      read(inp, '(a)', iostat=ios, iomsg=msg) cv(base + 1)
    else if (op == 'ir' .and. len(fmt) == 0) then
      read(inp, *, iostat=ios, iomsg=msg) iv(base + 1), rv(base + 2)
    else if (op == 'ir') then
      read(inp, fmt, iostat=ios, iomsg=msg) iv(base + 1), rv(base + 2)
    else if (op == 'irc') then
      read(inp, *, iostat=ios, iomsg=msg) iv(base + 1), rv(base + 2), cv(base + 3)
    else if (op == 'ci') then
      read(inp, *, iostat=ios, iomsg=msg) cv(base + 1), iv(base + 2)
    else if (op == 'ik') then
      read(inp, fmt, iostat=ios, iomsg=msg) iv(base + 1), kv(base + 2)
    else if (op == 'irrrr') then
      read(inp, fmt, iostat=ios, iomsg=msg) iv(base + 1), (rv(base + j), j = 2, 5)
    else
      stop 'unknown operation shape'
    end if
  end subroutine

  subroutine write_items(shape, nitems)
    character(len=*), intent(in) :: shape
    integer, intent(in) :: nitems
    character(len=:), allocatable :: line
    character(len=60) :: item
    character(len=16) :: value
    integer :: i, n
    line = 'ok'
    n = 0
    do i = 1, len(shape)
      if (shape(i:i) == ';') cycle
      n = n + 1
      select case (shape(i:i))
      case ('i')
        write(item, '(a,i0)') 'i=', iv(n)
        line = line // ' ' // trim(item)
      case ('r')
        write(value, '(es16.9)') rv(n)
        write(item, '(a,i0,a)') 'r=', transfer(rv(n), 0), ':' // trim(adjustl(value))
        line = line // ' ' // trim(item)
      case ('c', 'L')
        line = line // ' c=[' // cv(n) // ']'
      case ('k')
        line = line // ' c=[' // kv(n) // ']'
      end select
    end do
    if (n /= nitems) stop 'item count mismatch'
    write(out, '(a)') line
  end subroutine

end program make_reader_expected
