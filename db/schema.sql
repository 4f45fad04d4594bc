-- The database posdb shared by every station, with the tables of station 1.
-- Stations 2 and up get their own tables at start-up, made from those of station 1.

CREATE TABLE tbl_booking (
  b_datetime VARCHAR(19) NOT NULL,
  b_field INT NOT NULL,
  b_delaytime INT NOT NULL DEFAULT 0,
  b_playlength INT NOT NULL DEFAULT 60,
  b_bookername VARCHAR(255) NOT NULL DEFAULT '',
  b_bookertel VARCHAR(255) NOT NULL DEFAULT '',
  b_bookerorg VARCHAR(255) NOT NULL DEFAULT '',
  b_specialrate VARCHAR(32) NOT NULL DEFAULT '',
  b_person INT NOT NULL DEFAULT 0,
  b_shared INT NOT NULL DEFAULT 0,
  b_paid DECIMAL(12,2) NOT NULL DEFAULT 0,
  b_invoice INT NOT NULL DEFAULT 0,
  b_extratime INT NOT NULL DEFAULT 0,
  b_staffname VARCHAR(64) NOT NULL DEFAULT '',
  UNIQUE KEY slot (b_datetime, b_field),
  KEY invoice (b_invoice)
) ENGINE=InnoDB;

-- The last invoice number given by any station (row 1), so that a number whose slots were cancelled
-- is never given again. The row is made at the first invoice.
CREATE TABLE tbl_invoicecounter (
  ic_id INT NOT NULL PRIMARY KEY,
  ic_last INT NOT NULL DEFAULT 0
) ENGINE=InnoDB;

-- One row per court and business date, written first by every change of the court's slots of that
-- date, so that the changes of one court's day (and of the courts that share its space) take turns.
-- A change decides only on the hours of its own business date. Rows are made as days are first changed.
CREATE TABLE tbl_courtlock (
  cl_field INT NOT NULL,
  cl_date VARCHAR(10) NOT NULL DEFAULT '',
  cl_changes BIGINT NOT NULL DEFAULT 0,
  PRIMARY KEY (cl_field, cl_date)
) ENGINE=InnoDB;
-- A court's row without a date is the turn that a station of the version before the turns by date
-- takes for any date of the court; every change holds it shared, so it is there from the start.
INSERT INTO tbl_courtlock (cl_field, cl_date) VALUES
  (0, ''), (1, ''), (2, ''), (3, ''), (4, ''), (5, ''), (6, ''), (7, ''),
  (8, ''), (9, ''), (10, ''), (11, ''), (12, ''), (13, ''), (14, ''), (15, '');

CREATE TABLE tbl_remark (
  m_id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  m_dotime VARCHAR(19) NOT NULL DEFAULT '',
  m_datetime VARCHAR(19) NOT NULL DEFAULT '',
  m_field INT NOT NULL DEFAULT 0,
  m_staff VARCHAR(64) NOT NULL DEFAULT '',
  m_job VARCHAR(32) NOT NULL DEFAULT '',
  m_remark TEXT NOT NULL,
  m_actiontime VARCHAR(32) NOT NULL DEFAULT '',
  KEY slot (m_datetime, m_field)
) ENGINE=InnoDB;

CREATE TABLE tbl_waitlist (
  w_id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  w_datetime VARCHAR(32) NOT NULL DEFAULT '',
  w_field INT NOT NULL DEFAULT 0,
  w_bookername VARCHAR(255) NOT NULL DEFAULT '',
  w_bookertel VARCHAR(255) NOT NULL DEFAULT '',
  w_bookerorg VARCHAR(255) NOT NULL DEFAULT '',
  w_specialrate VARCHAR(32) NOT NULL DEFAULT '',
  w_staffname VARCHAR(64) NOT NULL DEFAULT '',
  w_person INT NOT NULL DEFAULT 0,
  KEY wanted (w_datetime)
) ENGINE=InnoDB;

CREATE TABLE tbl_waitlist_clipboard LIKE tbl_waitlist;

CREATE TABLE tbl_system (
  sys_counter INT NOT NULL PRIMARY KEY,
  sys_counteractive INT NOT NULL DEFAULT 1,
  sys_doclose INT NOT NULL DEFAULT 0,
  sys_counterstaff VARCHAR(64) NOT NULL DEFAULT ''
) ENGINE=InnoDB;

CREATE TABLE tbl_staff (
  st_login VARCHAR(64) NOT NULL PRIMARY KEY,
  st_password VARCHAR(64) NOT NULL DEFAULT '',
  st_access INT NOT NULL DEFAULT 0,
  st_lastlogin VARCHAR(19) NOT NULL DEFAULT ''
) ENGINE=InnoDB;

CREATE TABLE tbl_log (
  log_counter INT NOT NULL DEFAULT 0,
  log_staffname VARCHAR(64) NOT NULL DEFAULT '',
  log_datetime VARCHAR(19) NOT NULL DEFAULT '',
  log_do TEXT NOT NULL
) ENGINE=InnoDB;

CREATE TABLE tbl_item (
  i_id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  i_name VARCHAR(128) NOT NULL DEFAULT '',
  i_note VARCHAR(255) NOT NULL DEFAULT '',
  i_type VARCHAR(64) NOT NULL DEFAULT '',
  i_show INT NOT NULL DEFAULT 1,
  i_price DECIMAL(12,2) NOT NULL DEFAULT 0,
  i_key VARCHAR(8) NOT NULL DEFAULT '',
  i_currentstock DECIMAL(12,2) NOT NULL DEFAULT 0,
  KEY name (i_name)
) ENGINE=InnoDB;

CREATE TABLE tbl_rate (
  r_day VARCHAR(16) NOT NULL DEFAULT '',
  r_field INT NOT NULL DEFAULT 0,
  r_special VARCHAR(32) NOT NULL DEFAULT '',
  r_timestart INT NOT NULL DEFAULT 0,
  r_timestop INT NOT NULL DEFAULT 0,
  r_rate DECIMAL(12,2) NOT NULL DEFAULT 0,
  KEY lookup (r_field, r_special)
) ENGINE=InnoDB;

CREATE TABLE tbl_light (
  l_field INT NOT NULL DEFAULT 0,
  l_staff VARCHAR(64) NOT NULL DEFAULT '',
  l_datetime VARCHAR(19) NOT NULL DEFAULT '',
  l_row0 VARCHAR(3) NOT NULL DEFAULT 'off',
  l_row1 VARCHAR(3) NOT NULL DEFAULT 'off',
  l_row2 VARCHAR(3) NOT NULL DEFAULT 'off',
  l_row3 VARCHAR(3) NOT NULL DEFAULT 'off',
  l_row4 VARCHAR(3) NOT NULL DEFAULT 'off'
) ENGINE=InnoDB;

CREATE TABLE tbl_member (
  m_id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  m_idno VARCHAR(32) NOT NULL DEFAULT '',
  m_name VARCHAR(255) NOT NULL DEFAULT '',
  m_hour DECIMAL(12,2) NOT NULL DEFAULT 0,
  m_org VARCHAR(255) NOT NULL DEFAULT '',
  m_tel VARCHAR(64) NOT NULL DEFAULT '',
  KEY idno (m_idno)
) ENGINE=InnoDB;

CREATE TABLE tbl_student (
  st_id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  st_idno VARCHAR(32) NOT NULL DEFAULT '',
  st_name VARCHAR(255) NOT NULL DEFAULT '',
  st_hour DECIMAL(12,2) NOT NULL DEFAULT 0,
  st_org VARCHAR(255) NOT NULL DEFAULT '',
  st_tel VARCHAR(64) NOT NULL DEFAULT '',
  KEY idno (st_idno)
) ENGINE=InnoDB;

CREATE TABLE tbl_counter1 (
  c_datetime VARCHAR(19) NOT NULL DEFAULT '',
  c_item VARCHAR(255) NOT NULL DEFAULT '',
  c_itemprice DECIMAL(12,2) NOT NULL DEFAULT 0,
  c_itemquantity DECIMAL(12,2) NOT NULL DEFAULT 0,
  c_itemtype VARCHAR(64) NOT NULL DEFAULT '',
  c_itemtotal DECIMAL(12,2) NOT NULL DEFAULT 0,
  c_transaction INT NOT NULL DEFAULT 0,
  c_special VARCHAR(32) NOT NULL DEFAULT '',
  c_receipt INT NULL,
  c_staffid VARCHAR(64) NOT NULL DEFAULT '',
  KEY transaction_no (c_transaction),
  KEY receipt (c_receipt)
) ENGINE=InnoDB;

CREATE TABLE tbl_shift1 (
  sh_datetime VARCHAR(19) NOT NULL DEFAULT '',
  sh_sales DECIMAL(12,2) NOT NULL DEFAULT 0,
  sh_totalmoney DECIMAL(12,2) NOT NULL DEFAULT 0,
  sh_float DECIMAL(12,2) NOT NULL DEFAULT 0,
  sh_first_transaction VARCHAR(19) NOT NULL DEFAULT '',
  sh_lastdatetime VARCHAR(19) NOT NULL DEFAULT '',
  sh_shift VARCHAR(16) NOT NULL DEFAULT '',
  sh_stocklog TEXT,
  sh_staff VARCHAR(64) NOT NULL DEFAULT '',
  KEY closed (sh_datetime)
) ENGINE=InnoDB;

CREATE TABLE tbl_booking_clipboard1 (
  b_datetime VARCHAR(19) NOT NULL DEFAULT '',
  b_bookertel VARCHAR(255) NOT NULL DEFAULT '',
  b_bookerorg VARCHAR(255) NOT NULL DEFAULT '',
  b_bookername VARCHAR(255) NOT NULL DEFAULT '',
  b_field INT NOT NULL DEFAULT 0,
  b_specialrate VARCHAR(32) NOT NULL DEFAULT '',
  b_person INT NOT NULL DEFAULT 0
) ENGINE=InnoDB;
