-- A small demo centre: six courts (the big court 1 holds courts 2 and 3), staff, rates, shop items
-- and a few people in each register.

INSERT INTO tbl_staff (st_login, st_password, st_access, st_lastlogin) VALUES
  ('admin', 'admin', 1, ''),
  ('counter', 'counter', 0, '');

INSERT INTO tbl_rate (r_day, r_field, r_special, r_timestart, r_timestop, r_rate)
SELECT d.name, c.court, k.class, b.first_hour, b.last_hour, ROUND(b.price * k.factor * c.factor, 2)
FROM (SELECT 'Monday' AS name UNION ALL SELECT 'Tuesday' UNION ALL SELECT 'Wednesday' UNION ALL SELECT 'Thursday'
      UNION ALL SELECT 'Friday' UNION ALL SELECT 'Saturday' UNION ALL SELECT 'Sunday') d
CROSS JOIN (SELECT 0 AS court, 2.0 AS factor UNION ALL SELECT 1, 1.0 UNION ALL SELECT 2, 1.0 UNION ALL SELECT 3, 1.0
            UNION ALL SELECT 4, 1.0 UNION ALL SELECT 5, 1.0) c
CROSS JOIN (SELECT '' AS class, 1.0 AS factor UNION ALL SELECT 'member', 0.8 UNION ALL SELECT 'student', 0.7
            UNION ALL SELECT 'specialgroup1', 0.6) k
CROSS JOIN (SELECT 0 AS first_hour, 17 AS last_hour, 60.00 AS price UNION ALL SELECT 18, 24, 90.00) b;

INSERT INTO tbl_item (i_id, i_name, i_note, i_type, i_show, i_price, i_key, i_currentstock) VALUES
  (1, 'Mineral Water', '', 'Drink', 1, 1.50, 'F1', 120),
  (2, 'Isotonic Drink', '', 'Drink', 1, 2.80, 'F2', 80),
  (3, 'Energy Bar', '', 'Food', 1, 2.20, 'F3', 60),
  (4, 'Grip Tape', '', 'Gear', 1, 6.00, 'F4', 25),
  (5, 'Futsal Ball Rental', '', 'Gear', 1, 5.00, 'F5', 10),
  (6, 'Misc', '', 'Misc', 1, 0.00, 'F6', 0);

INSERT INTO tbl_member (m_idno, m_name, m_hour, m_org, m_tel) VALUES
  ('M2026001', 'Anna Lindqvist', 12, 'Riverside FC', '555-0101'),
  ('M2026002', 'Sean O''Brien', 4, 'Harbour Rovers', '555-0102'),
  ('M2026003', 'Priya Raman', 0, '', '555-0103');

INSERT INTO tbl_student (st_idno, st_name, st_hour, st_org, st_tel) VALUES
  ('S2026001', 'Tomas Novak', 3, 'City College', '555-0201'),
  ('S2026002', 'Mei Chen', 1, 'Technical University', '555-0202');

CREATE TABLE tbl_specialgroup1 LIKE tbl_member;
INSERT INTO tbl_specialgroup1 (m_idno, m_name, m_hour, m_org, m_tel) VALUES
  ('G202601', 'North District Schools', 20, 'Education Office', '555-0301');
