-- Sample ERP database of the substitute host (SQLite).
-- Dates are TEXT 'YYYY-MM-DD' in columns declared DATE; the host maps them
-- to Date values by declared type. Flags are INTEGER 0/1 unless noted.

-- Departments.
CREATE TABLE IF NOT EXISTS t_department (
    FItemID       INTEGER PRIMARY KEY,
    FNumber       TEXT    NOT NULL UNIQUE,      -- long number, e.g. 01.02
    FShortNumber  TEXT    NOT NULL,             -- last segment, e.g. 02
    FName         TEXT    NOT NULL,
    FDeleted      INTEGER NOT NULL DEFAULT 0
);

-- Work centres; each belongs to one department.
CREATE TABLE IF NOT EXISTS t_workcenter (
    FItemID       INTEGER PRIMARY KEY,
    FNumber       TEXT    NOT NULL UNIQUE,
    FName         TEXT    NOT NULL,
    FDeptID       INTEGER NOT NULL REFERENCES t_department(FItemID),
    FDeleted      INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX IF NOT EXISTS ix_workcenter_dept ON t_workcenter(FDeptID);

-- Resource types (11063 = production line).
CREATE TABLE IF NOT EXISTS t_resourcetype (
    FTypeID       INTEGER PRIMARY KEY,
    FName         TEXT    NOT NULL
);

-- Resources: production lines and other resources.
CREATE TABLE IF NOT EXISTS t_resource (
    FInterID        INTEGER PRIMARY KEY,
    FNumber         TEXT    NOT NULL UNIQUE,
    FName           TEXT    NOT NULL,
    FTypeID         INTEGER NOT NULL REFERENCES t_resourcetype(FTypeID),
    FWorkCenterID   INTEGER REFERENCES t_workcenter(FItemID),   -- NULL = none
    FEIProductivity REAL    NOT NULL DEFAULT 0,  -- lines: base units per hour
    FForbid         INTEGER NOT NULL DEFAULT 0,  -- disabled
    FDeleted        INTEGER NOT NULL DEFAULT 0,
    FNote           TEXT
);
CREATE INDEX IF NOT EXISTS ix_resource_wc ON t_resource(FWorkCenterID);
CREATE INDEX IF NOT EXISTS ix_resource_type ON t_resource(FTypeID);

-- Units of measure. FCoefficient converts to the group's base unit
-- (qty in base unit = qty in this unit * FCoefficient).
CREATE TABLE IF NOT EXISTS t_MeasureUnit (
    FMeasureUnitID INTEGER PRIMARY KEY,
    FNumber        TEXT    NOT NULL UNIQUE,
    FName          TEXT    NOT NULL,
    FUnitGroupID   INTEGER NOT NULL,
    FCoefficient   REAL    NOT NULL DEFAULT 1 CHECK (FCoefficient > 0)
);

-- Items.
CREATE TABLE IF NOT EXISTS t_ICItem (
    FItemID        INTEGER PRIMARY KEY,
    FNumber        TEXT    NOT NULL UNIQUE,
    FName          TEXT    NOT NULL,
    FModel         TEXT,
    FMakeType      INTEGER NOT NULL DEFAULT 2,   -- 1 purchased, 2 manufactured
    FUnitID        INTEGER NOT NULL REFERENCES t_MeasureUnit(FMeasureUnitID),  -- base unit
    FProductUnitID INTEGER NOT NULL REFERENCES t_MeasureUnit(FMeasureUnitID),  -- common (production) unit
    FQtyDecimal    INTEGER NOT NULL DEFAULT 0,   -- quantity decimals
    FDeleted       INTEGER NOT NULL DEFAULT 0
);

-- Item/line relations: which lines may produce which items.
-- No work-centre column: line filters on FWorkCenterID go through a join
-- with t_resource.
CREATE TABLE IF NOT EXISTS t_eiItemLine (
    FID           INTEGER PRIMARY KEY,
    FItemID       INTEGER NOT NULL REFERENCES t_ICItem(FItemID),
    FLineID       INTEGER NOT NULL REFERENCES t_resource(FInterID),
    FPriority     INTEGER NOT NULL DEFAULT 1,    -- 1 = preferred line
    FProductivity REAL    NOT NULL DEFAULT 0,    -- base units per hour; 0 = line's FEIProductivity
    FNote         TEXT,
    UNIQUE (FItemID, FLineID)
);
CREATE INDEX IF NOT EXISTS ix_eiItemLine_line ON t_eiItemLine(FLineID);

-- Working calendar: hours available per line and date (0 = day off).
-- A line/date without a row has no capacity.
CREATE TABLE IF NOT EXISTS t_eiLineCalendar (
    FLineID       INTEGER NOT NULL REFERENCES t_resource(FInterID),
    FDate         DATE    NOT NULL
                  CHECK (FDate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
    FHours        REAL    NOT NULL DEFAULT 0 CHECK (FHours >= 0 AND FHours <= 24),
    FNote         TEXT,                           -- holiday, overtime, maintenance
    PRIMARY KEY (FLineID, FDate)
);

-- Work orders. FQty in the item's base unit, FAuxQty in FUnitID.
CREATE TABLE IF NOT EXISTS icmo (
    FInterID        INTEGER PRIMARY KEY,
    FBillNo         TEXT    NOT NULL UNIQUE,
    FType           INTEGER NOT NULL DEFAULT 2,  -- 1 standard, 2 repetitive
    FStatus         INTEGER NOT NULL DEFAULT 0,  -- 0 planned, 1 released, 2 closed
    FItemID         INTEGER NOT NULL REFERENCES t_ICItem(FItemID),
    FWorkShop       INTEGER NOT NULL REFERENCES t_department(FItemID),
    FUnitID         INTEGER NOT NULL REFERENCES t_MeasureUnit(FMeasureUnitID),
    FQty            REAL    NOT NULL DEFAULT 0,
    FAuxQty         REAL    NOT NULL DEFAULT 0,
    FPlanCommitDate DATE CHECK (FPlanCommitDate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
    FPlanFinishDate DATE CHECK (FPlanFinishDate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
    FBatchNo        TEXT    NOT NULL DEFAULT '',
    FBiller         TEXT,
    FCheckDate      DATE CHECK (FCheckDate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
    FCancellation   INTEGER NOT NULL DEFAULT 0,
    FNote           TEXT
);
CREATE INDEX IF NOT EXISTS ix_icmo_item ON icmo(FItemID);

-- Repetitive schedule rows: one per schedule line of a work order.
-- Grid column key of each column in the comments; ColLine is the name of
-- FLineID in t_resource. FAuxQty and the limit quantities are in the work
-- order's unit (icmo.FUnitID); limits in percent.
CREATE TABLE IF NOT EXISTS t_eiRepSchedule (
    FInterID        INTEGER PRIMARY KEY,                      -- ColInterId
    FICMOInterID    INTEGER NOT NULL REFERENCES icmo(FInterID),
    FEntryID        INTEGER NOT NULL,                         -- ColNo
    FBillNo         TEXT    NOT NULL UNIQUE,                  -- ColBillNo (work order no. & "_" & seq)
    FBeginDate      DATE CHECK (FBeginDate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),  -- ColBDate
    FEndDate        DATE CHECK (FEndDate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),    -- ColEDate
    FAuxQty         REAL    NOT NULL DEFAULT 0,               -- ColQty
    FInHighLimit    REAL    NOT NULL DEFAULT 0,               -- ColInHighLimit
    FInHighLimitQty REAL    NOT NULL DEFAULT 0,               -- ColInHighLimitQty
    FInLowLimit     REAL    NOT NULL DEFAULT 0,               -- ColInLowLimit
    FInLowLimitQty  REAL    NOT NULL DEFAULT 0,               -- ColInLowLimitQty
    FLineID         INTEGER NOT NULL DEFAULT 0,               -- ColLineId (0 = none)
    FStatus         INTEGER NOT NULL DEFAULT 0,               -- ColStatusId: -1 new, 0 planned, 1 released, 2 closed
    FCheckDate      DATE CHECK (FCheckDate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),  -- ColCheckDate
    FBiller         TEXT,                                     -- ColBiller
    FBatchNo        TEXT    NOT NULL DEFAULT '',              -- ColBatchNo
    FCancel         TEXT    NOT NULL DEFAULT 'N' CHECK (FCancel IN ('Y', 'N')),   -- ColCancel
    FSuspend        TEXT    NOT NULL DEFAULT 'N' CHECK (FSuspend IN ('Y', 'N')),  -- ColSuspend
    FNote           TEXT,
    CHECK (FEndDate >= FBeginDate)
);
CREATE INDEX IF NOT EXISTS ix_eiRepSchedule_icmo ON t_eiRepSchedule(FICMOInterID, FEntryID);
CREATE INDEX IF NOT EXISTS ix_eiRepSchedule_line ON t_eiRepSchedule(FLineID, FBeginDate);

-- The account's system profile: settings by section (FCategory) and key.
CREATE TABLE IF NOT EXISTS t_SystemProfile (
    FCategory     TEXT    NOT NULL,
    FKey          TEXT    NOT NULL,
    FValue        TEXT,
    FDescription  TEXT,
    PRIMARY KEY (FCategory, FKey)
);
