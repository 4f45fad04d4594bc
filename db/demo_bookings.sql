-- Tonight's bookings of the demo centre, on the business date the demo starts on (the evening
-- before when it starts after midnight), so that the grid, the play lists and the alerts show a
-- working evening. Loaded with the demo of tools/run (its first run and tools/reset-demo); the tests
-- keep an empty booking table.

SET @day = DATE_FORMAT(IF(HOUR(NOW()) < 3, CURDATE() - INTERVAL 1 DAY, CURDATE()), '%Y-%m-%d');

INSERT INTO tbl_booking (b_datetime, b_field, b_delaytime, b_playlength, b_bookername, b_bookertel, b_bookerorg,
                         b_specialrate, b_person, b_paid)
SELECT CONCAT(@day, ' ', LPAD(h.hour, 2, '0'), ':00:00'), c.court, 0, 60, c.booker, c.tel, c.org, c.rate, 10,
       IF(h.hour < 19, 90.00, 0)
FROM (SELECT 17 AS hour UNION ALL SELECT 18 UNION ALL SELECT 19 UNION ALL SELECT 20 UNION ALL SELECT 21) h
JOIN (SELECT 3 AS court, 'Anna Lindqvist' AS booker, '555-0101' AS tel, 'Riverside FC' AS org, 'member' AS rate,
             17 AS first_hour, 19 AS last_hour
      UNION ALL SELECT 4, 'Harbour Rovers', '555-0102', 'Harbour Rovers', '', 18, 21
      UNION ALL SELECT 5, 'Tomas Novak', '555-0201', 'City College', 'student', 19, 20
      UNION ALL SELECT 1, 'North District Schools', '555-0301', 'Education Office', 'specialgroup1', 17, 18) c
  ON h.hour BETWEEN c.first_hour AND c.last_hour;

-- The half pitches booked above stand on the big pitch's space, whose row counts them at each hour.
INSERT INTO tbl_booking (b_datetime, b_field, b_delaytime, b_playlength, b_bookername, b_shared)
SELECT b_datetime, 0, 0, 60, 'Partially Shared', COUNT(*) FROM tbl_booking WHERE b_field IN (1, 2) GROUP BY b_datetime;

INSERT INTO tbl_remark (m_dotime, m_datetime, m_field, m_staff, m_job, m_remark, m_actiontime)
SELECT CONCAT(@day, ' 09:12:00'), b_datetime, b_field, 'counter', 'book', CONCAT(' ', b_bookername, ' ', b_bookertel),
       DATE_FORMAT(CONCAT(@day, ' 09:12:00'), '%e %b %h:%i:%s %p')
FROM tbl_booking WHERE b_bookername <> 'Partially Shared';

INSERT INTO tbl_waitlist (w_datetime, w_field, w_bookername, w_bookertel, w_bookerorg, w_staffname) VALUES
  (CONCAT(@day, ' 20:00:00'), 0, 'Mei Chen', '555-0202', 'Technical University', 'counter'),
  (CONCAT(@day, ' 21:00:00'), 1, 'Sean O''Brien', '555-0102', 'Harbour Rovers', 'counter');
