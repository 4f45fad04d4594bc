-- A realistic centre for the benchmarks: 16 courts booked almost every hour from 08:00 to 03:00
-- for five years (about 550,000 slots), each with its "book" audit row and a cancelled one now and then.

INSERT INTO tbl_booking (b_datetime, b_field, b_delaytime, b_playlength, b_bookername, b_bookertel, b_bookerorg,
                         b_specialrate, b_person, b_paid)
SELECT CONCAT(DATE_FORMAT(DATE '2021-12-01' + INTERVAL d.seq DAY, '%Y-%m-%d'), ' ', LPAD(h.hour, 2, '0'), ':00:00'),
       c.seq,
       IF((d.seq + c.seq + h.hour) % 11 = 0, 15, 0),
       IF((d.seq + c.seq + h.hour) % 13 = 0, 75, 60),
       CONCAT('Booker ', (d.seq * 16 + c.seq) % 5000), CONCAT('555-', LPAD(h.hour * 100 + c.seq, 4, '0')),
       IF(c.seq % 3 = 0, 'Riverside FC', ''), ELT(1 + (d.seq + h.hour) % 4, '', 'member', 'student', 'specialgroup1'),
       4 + (d.seq % 8), IF(d.seq < 1800, 60.00, 0)
FROM seq_0_to_1825 d
CROSS JOIN seq_0_to_15 c
CROSS JOIN (SELECT seq AS hour FROM seq_8_to_24 UNION ALL SELECT seq FROM seq_1_to_2) h
WHERE (d.seq * 31 + c.seq * 7 + h.hour) % 100 < 99;

INSERT INTO tbl_remark (m_dotime, m_datetime, m_field, m_staff, m_job, m_remark, m_actiontime)
SELECT CONCAT(LEFT(b_datetime, 10), ' 07:30:00'), b_datetime, b_field, 'counter', 'book',
       CONCAT(' ', b_bookername, ' ', b_bookertel), '1 Dec 07:30:00 AM'
FROM tbl_booking;

INSERT INTO tbl_remark (m_dotime, m_datetime, m_field, m_staff, m_job, m_remark, m_actiontime)
SELECT CONCAT(LEFT(b_datetime, 10), ' 07:00:00'), b_datetime, b_field, 'admin', 'cancel', 'moved', '1 Dec 07:00:00 AM'
FROM tbl_booking WHERE MOD(b_field + CAST(SUBSTRING(b_datetime, 9, 2) AS UNSIGNED), 10) = 0;

INSERT INTO tbl_system SET sys_counter=1, sys_counterstaff='counter';
