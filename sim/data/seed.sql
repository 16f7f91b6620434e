-- Seed data for the sample database: a small appliance plant.
-- Load after schema.sql into an empty database.

INSERT INTO t_department (FItemID, FNumber, FShortNumber, FName) VALUES
    (101, '01.01', '01', '总装车间'),
    (102, '01.02', '02', '部件车间');

INSERT INTO t_workcenter (FItemID, FNumber, FName, FDeptID) VALUES
    (201, 'WC-01', '总装一工段',   101),
    (202, 'WC-02', '总装二工段',   101),
    (203, 'WC-03', '冲压成型工段', 102),
    (204, 'WC-04', '电机装配工段', 102);

INSERT INTO t_resourcetype (FTypeID, FName) VALUES
    (11061, '人力'),
    (11062, '设备'),
    (11063, '生产线'),
    (11064, '模具');

-- Production lines (productivity in base units per hour) ...
INSERT INTO t_resource (FInterID, FNumber, FName, FTypeID, FWorkCenterID, FEIProductivity, FNote) VALUES
    (1001, 'L-01', '水壶装配一线',   11063, 201,  60, '两班'),
    (1002, 'L-02', '水壶装配二线',   11063, 201,  45, '一班'),
    (1003, 'L-03', '电饭煲装配线',   11063, 202,  30, '两班'),
    (1004, 'L-04', '风扇装配线',     11063, 202,  40, '一班'),
    (1005, 'L-05', '发热盘生产线',   11063, 203, 120, '两班'),
    (1006, 'L-06', '内胆冲压线',     11063, 203, 100, '两班'),
    (1007, 'L-07', '电机装配线',     11063, 204,  80, '一班'),
    (1008, 'L-08', '备用装配线',     11063, 202,  50, '一班,未使用');
-- ... and other resources (no productivity).
INSERT INTO t_resource (FInterID, FNumber, FName, FTypeID, FWorkCenterID) VALUES
    (1101, 'EQ-01', '200吨冲床',     11062, 203),
    (1102, 'EQ-02', '自动绕线机',    11062, 204),
    (1103, 'MD-01', '内胆拉伸模具',  11064, 203),
    (1104, 'HR-01', '总装班组',      11061, 201);

INSERT INTO t_MeasureUnit (FMeasureUnitID, FNumber, FName, FUnitGroupID, FCoefficient) VALUES
    (1, 'PCS',  '个', 1,   1),
    (2, 'BOX',  '箱', 1,  20),
    (3, 'SET',  '台', 2,   1),
    (4, 'CTN',  '件', 2,   6),
    (5, 'ROOT', '根', 3,   1),
    (6, 'BDL',  '捆', 3, 100);

INSERT INTO t_ICItem (FItemID, FNumber, FName, FModel, FMakeType, FUnitID, FProductUnitID, FQtyDecimal) VALUES
    (3001, '1.01.001', '电热水壶1.7L',   'KT-1701',  2, 3, 4, 0),
    (3002, '1.01.002', '电热水壶1.5L',   'KT-1501',  2, 3, 4, 0),
    (3003, '1.02.001', '电饭煲3L',       'RC-3001',  2, 3, 3, 0),
    (3004, '1.02.002', '电饭煲5L',       'RC-5001',  2, 3, 3, 0),
    (3005, '1.03.001', '台式电风扇16寸', 'FD-1601',  2, 3, 3, 0),
    (3006, '1.03.002', '落地扇16寸',     'FS-1601',  2, 3, 3, 0),
    (3007, '2.01.001', '发热盘组件',     'HP-800W',  2, 1, 2, 2),
    (3008, '2.01.002', '内胆3L',         'NL-3L',    2, 1, 1, 0),
    (3009, '2.01.003', '内胆5L',         'NL-5L',    2, 1, 1, 0),
    (3010, '2.02.001', '电机组件',       'MT-40W',   2, 1, 1, 0),
    (3011, '3.01.001', '电源线1.2米',    'PW-120',   1, 5, 6, 0),
    (3012, '3.01.002', '包装彩盒',       'BX-K17',   1, 1, 2, 0);

-- Lines 1001-1007 are related to items; line 1008 and resources 1101,
-- 1102, 1104 have no relation. Relation 10 refers to a non-line resource.
INSERT INTO t_eiItemLine (FID, FItemID, FLineID, FPriority, FProductivity, FNote) VALUES
    ( 1, 3001, 1001, 1,  0, NULL),
    ( 2, 3001, 1002, 2,  0, NULL),
    ( 3, 3002, 1001, 1, 70, '小容量,节拍较快'),
    ( 4, 3002, 1002, 2,  0, NULL),
    ( 5, 3003, 1003, 1,  0, NULL),
    ( 6, 3004, 1003, 1, 25, NULL),
    ( 7, 3005, 1004, 1,  0, NULL),
    ( 8, 3006, 1004, 1, 35, NULL),
    ( 9, 3007, 1005, 1,  0, NULL),
    (10, 3008, 1103, 1,  0, '旧数据:指向模具'),
    (11, 3008, 1006, 1,  0, NULL),
    (12, 3009, 1006, 1, 80, NULL),
    (13, 3010, 1007, 1,  0, NULL);

-- Working calendars 2026-11-01..2027-03-31 for every line: 8 hours
-- (one shift) or 16 hours (two shifts) on weekdays, weekends and holidays off.
INSERT INTO t_eiLineCalendar (FLineID, FDate, FHours, FNote)
WITH RECURSIVE
    days(d) AS (
        SELECT '2026-11-01'
        UNION ALL
        SELECT date(d, '+1 day') FROM days WHERE d < '2027-03-31'
    ),
    shift(line, hours) AS (
        VALUES (1001, 16), (1002, 8), (1003, 16), (1004, 8),
               (1005, 16), (1006, 16), (1007, 8), (1008, 8)
    ),
    holiday(d, name) AS (
        VALUES ('2027-01-01', '元旦'),
               ('2027-02-08', '春节'), ('2027-02-09', '春节'),
               ('2027-02-10', '春节'), ('2027-02-11', '春节'),
               ('2027-02-12', '春节')
    )
SELECT s.line,
       days.d,
       CASE WHEN h.d IS NOT NULL OR strftime('%w', days.d) IN ('0', '6')
            THEN 0 ELSE s.hours END,
       h.name
FROM shift s
CROSS JOIN days
LEFT JOIN holiday h ON h.d = days.d
ORDER BY s.line, days.d;

-- Line-specific exceptions.
UPDATE t_eiLineCalendar SET FHours = 0, FNote = '设备检修'
 WHERE FLineID = 1003 AND FDate = '2026-12-16';
UPDATE t_eiLineCalendar SET FHours = 8, FNote = '周六加班'
 WHERE FLineID = 1001 AND FDate = '2026-12-12';

-- Repetitive work orders.
INSERT INTO icmo (FInterID, FBillNo, FType, FStatus, FItemID, FWorkShop, FUnitID,
                  FQty, FAuxQty, FPlanCommitDate, FPlanFinishDate, FBatchNo,
                  FBiller, FCheckDate) VALUES
    (5001, 'WO-2612-001', 2, 1, 3001, 101, 3, 12000, 12000, '2026-12-01', '2027-01-29', 'B2612-01', '计划员01', '2026-11-20'),
    (5002, 'WO-2612-002', 2, 1, 3003, 101, 3,  6000,  6000, '2026-12-07', '2027-01-15', 'B2612-02', '计划员01', '2026-11-23'),
    (5003, 'WO-2612-003', 2, 0, 3005, 101, 3,  4000,  4000, '2026-12-14', '2027-01-22', 'B2612-03', '计划员02', NULL),
    (5004, 'WO-2612-004', 2, 1, 3007, 102, 2, 30000,  1500, '2026-12-01', '2027-01-29', 'B2612-04', '计划员02', '2026-11-24'),
    (5005, 'WO-2701-001', 2, 0, 3009, 102, 1,  8000,  8000, '2027-01-04', '2027-02-26', 'B2701-01', '计划员02', NULL),
    (5006, 'WO-2612-005', 2, 1, 3002, 101, 4,  9000,  1500, '2026-12-07', '2027-01-22', 'B2612-05', '计划员01', '2026-11-25'),
    (5007, 'WO-2612-006', 2, 1, 3004, 101, 3,  3000,  3000, '2026-12-14', '2027-01-08', 'B2612-06', '计划员01', '2026-11-25');

-- Schedule rows. Not decomposed yet: 5001 1000, 5004 112.5 (not counting
-- cancelled rows), 5005 all of it; 5006 and 5007 are fully decomposed.
-- Quantities are in the work order's unit. With them the capacity ledger has
-- overloaded days (negative difference) beside free ones: line 1001 on
-- 2026-12-07..11 (6001 and 6011), line 1002 on 2026-12-14..18 (6002 and
-- 6012), line 1003 on 2026-12-14..18 (6004 and 6014, around the maintenance
-- day 2026-12-16).
INSERT INTO t_eiRepSchedule (FInterID, FICMOInterID, FEntryID, FBillNo, FBeginDate, FEndDate,
                             FAuxQty, FInHighLimit, FInHighLimitQty, FInLowLimit, FInLowLimitQty,
                             FLineID, FStatus, FCheckDate, FBiller, FBatchNo, FCancel, FSuspend) VALUES
    (6001, 5001, 1, 'WO-2612-001_1', '2026-12-01', '2026-12-11', 6000,  5, 6300,  5, 5700,  1001, 1, '2026-11-20', '计划员01', 'B2612-01', 'N', 'N'),
    (6002, 5001, 2, 'WO-2612-001_2', '2026-12-07', '2026-12-18', 3000,  5, 3150,  5, 2850,  1002, 0, '2026-11-20', '计划员01', 'B2612-01', 'N', 'N'),
    (6003, 5001, 3, 'WO-2612-001_3', '2027-01-04', '2027-01-08', 2000,  5, 2100,  5, 1900,  1002, 0, '2026-11-26', '计划员01', 'B2612-01', 'N', 'N'),
    (6004, 5002, 1, 'WO-2612-002_1', '2026-12-07', '2026-12-18', 4000,  5, 4200,  5, 3800,  1003, 0, '2026-11-23', '计划员01', 'B2612-02', 'N', 'N'),
    (6005, 5002, 2, 'WO-2612-002_2', '2026-12-21', '2026-12-25', 1500,  5, 1575,  5, 1425,  1003, 0, '2026-11-23', '计划员01', 'B2612-02', 'Y', 'N'),
    (6006, 5002, 3, 'WO-2612-002_3', '2027-01-04', '2027-01-15', 2000,  5, 2100,  5, 1900,  1003, 0, '2026-11-23', '计划员01', 'B2612-02', 'N', 'Y'),
    (6007, 5003, 1, 'WO-2612-003_1', '2026-12-14', '2026-12-24', 2600,  5, 2730,  5, 2470,  1004, 0, '2026-11-27', '计划员02', 'B2612-03', 'N', 'N'),
    (6008, 5003, 2, 'WO-2612-003_2', '2027-01-11', '2027-01-22', 1400,  5, 1470,  5, 1330,  1004, 0, '2026-11-27', '计划员02', 'B2612-03', 'N', 'N'),
    (6009, 5004, 1, 'WO-2612-004_1', '2026-12-01', '2026-12-18',  800, 10,  880, 10,  720,  1005, 1, '2026-11-24', '计划员02', 'B2612-04', 'N', 'N'),
    (6010, 5004, 2, 'WO-2612-004_2', '2027-01-04', '2027-01-15', 587.5, 10, 646.25, 10, 528.75, 1005, 0, '2026-11-24', '计划员02', 'B2612-04', 'N', 'N'),
    (6011, 5006, 1, 'WO-2612-005_1', '2026-12-07', '2026-12-11',  600,  5,  630,  5,  570,  1001, 1, '2026-11-25', '计划员01', 'B2612-05', 'N', 'N'),
    (6012, 5006, 2, 'WO-2612-005_2', '2026-12-14', '2026-12-18',  450,  5, 472.5, 5, 427.5, 1002, 1, '2026-11-25', '计划员01', 'B2612-05', 'N', 'N'),
    (6013, 5006, 3, 'WO-2612-005_3', '2027-01-11', '2027-01-22',  450,  5, 472.5, 5, 427.5, 1001, 0, '2026-11-25', '计划员01', 'B2612-05', 'N', 'N'),
    (6014, 5007, 1, 'WO-2612-006_1', '2026-12-14', '2026-12-24', 2000,  5, 2100,  5, 1900,  1003, 1, '2026-11-25', '计划员01', 'B2612-06', 'N', 'N'),
    (6015, 5007, 2, 'WO-2612-006_2', '2027-01-04', '2027-01-08', 1000,  5, 1050,  5,  950,  1003, 0, '2026-11-25', '计划员01', 'B2612-06', 'N', 'N');

-- System profile: department numbers shown in their long form (UseShortNumber 0), and the
-- tolerance limits (percent) that new schedule rows of a work order without rows take.
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FDescription) VALUES
    ('IC', 'UseShortNumber', '0', '使用短代码'),
    ('EIRepSchedule', 'InHighLimit', '5', '超产比例(%)'),
    ('EIRepSchedule', 'InLowLimit', '5', '欠产比例(%)');
