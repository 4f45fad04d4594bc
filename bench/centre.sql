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

-- Its prices, shop and sales journal: a rate per weekday, court, class and band, forty shop items,
-- and one journal line per paid hour, every twentieth sale with a printed receipt.
INSERT INTO tbl_rate (r_day, r_field, r_special, r_timestart, r_timestop, r_rate)
SELECT d.name, c.seq, k.class, b.first_hour, b.last_hour, b.price * k.factor
FROM (SELECT 'Monday' AS name UNION ALL SELECT 'Tuesday' UNION ALL SELECT 'Wednesday' UNION ALL SELECT 'Thursday'
      UNION ALL SELECT 'Friday' UNION ALL SELECT 'Saturday' UNION ALL SELECT 'Sunday') d
CROSS JOIN seq_0_to_15 c
CROSS JOIN (SELECT '' AS class, 1.0 AS factor UNION ALL SELECT 'member', 0.8 UNION ALL SELECT 'student', 0.7
            UNION ALL SELECT 'specialgroup1', 0.6) k
CROSS JOIN (SELECT 0 AS first_hour, 17 AS last_hour, 60.00 AS price UNION ALL SELECT 18, 23, 90.00) b;

INSERT INTO tbl_item (i_id, i_name, i_type, i_show, i_price, i_key, i_currentstock)
SELECT seq, CONCAT('Item ', seq), ELT(1 + seq % 4, 'Drink', 'Food', 'Gear', 'Rental'), 1, 1 + seq / 4,
       IF(seq <= 16, CONCAT('F', seq), ''), 1000
FROM seq_1_to_40;

INSERT INTO tbl_counter1 (c_datetime, c_item, c_itemprice, c_itemquantity, c_itemtype, c_itemtotal, c_transaction,
                          c_special, c_receipt, c_staffid)
SELECT CONCAT(LEFT(b_datetime, 10), ' 20:00:00'),
       CONCAT('Field Number ', b_field + 1, ' ', DATE_FORMAT(LEFT(b_datetime, 10), '%d/%m/%Y'), ' ',
              SUBSTRING(b_datetime, 12, 5)),
       60, 1, 'pitch', 60, t, b_specialrate, IF(t % 20 = 0, t DIV 20, 0), 'counter'
FROM (SELECT b_datetime, b_field, b_specialrate, ROW_NUMBER() OVER (ORDER BY b_datetime, b_field) AS t
      FROM tbl_booking WHERE b_paid > 0) paid;
