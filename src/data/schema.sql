-- The empty database that lies beside the program and is copied to the data folder on the
-- first start. Declared types tell the data-access layer how to type each value it reads:
-- INTEGER whole numbers, DOUBLE numbers, CURRENCY exact money, DATETIME dates (stored as
-- ISO 8601 text, so they sort and compare as dates), TEXT text.
-- Keys are AUTOINCREMENT: a key of a deleted row is never given to a new row, so a new asset
-- can never inherit the histories that a deleted asset left behind.
-- No foreign keys: the program deletes parent and lookup rows before the rows that refer to
-- them and keeps its relations itself.

CREATE TABLE Employees (
    EmployeeID INTEGER PRIMARY KEY AUTOINCREMENT,
    FirstName TEXT,
    LastName TEXT,
    EmailName TEXT,
    EmployeeNumber TEXT,
    Title TEXT
);

CREATE TABLE Vendors (
    VendorID INTEGER PRIMARY KEY AUTOINCREMENT,
    VendorName TEXT,
    ContactFirstName TEXT,
    ContactLastName TEXT,
    Title TEXT
);

CREATE TABLE [Asset Categories] (
    AssetCategoryID INTEGER PRIMARY KEY AUTOINCREMENT,
    AssetCategory TEXT
);

CREATE TABLE Status (
    StatusID INTEGER PRIMARY KEY AUTOINCREMENT,
    Status TEXT
);

CREATE TABLE Departments (
    DepartmentID INTEGER PRIMARY KEY AUTOINCREMENT,
    DepartmentName TEXT
);

CREATE TABLE Assets (
    AssetID INTEGER PRIMARY KEY AUTOINCREMENT,
    AssetDescription TEXT,
    EmployeeID INTEGER,
    AssetCategoryID INTEGER,
    StatusID INTEGER,
    DepartmentID INTEGER,
    VendorID INTEGER,
    ModelNumber TEXT,
    SerialNumber TEXT,
    BarcodeNumber TEXT,
    DateAcquired DATETIME,
    DateSold DATETIME,
    PurchasePrice CURRENCY,
    DepreciationMethod TEXT,
    DepreciableLife DOUBLE,
    SalvageValue CURRENCY,
    CurrentValue CURRENCY,
    Comments TEXT,
    NextSchedMaint DATETIME
);

CREATE TABLE Maintenance (
    MaintenanceID INTEGER PRIMARY KEY AUTOINCREMENT,
    AssetID INTEGER,
    MaintenanceDate DATETIME,
    MaintenanceDescription TEXT,
    MaintenancePerformedBy TEXT,
    MaintenanceCost CURRENCY
);

CREATE TABLE Depreciation (
    DepreciationID INTEGER PRIMARY KEY AUTOINCREMENT,
    AssetID INTEGER,
    DepreciationDate DATETIME,
    DepreciationAmount CURRENCY
);

-- The lookup deletes remove every asset that refers to the deleted row, and the histories
-- are read and deleted by their asset.
CREATE INDEX AssetsEmployeeID ON Assets (EmployeeID);
CREATE INDEX AssetsAssetCategoryID ON Assets (AssetCategoryID);
CREATE INDEX AssetsStatusID ON Assets (StatusID);
CREATE INDEX AssetsDepartmentID ON Assets (DepartmentID);
CREATE INDEX AssetsVendorID ON Assets (VendorID);
CREATE INDEX MaintenanceAssetID ON Maintenance (AssetID, MaintenanceDate);
CREATE INDEX DepreciationAssetID ON Depreciation (AssetID, DepreciationDate);

-- One row per asset, in the order of their keys on a server as in the file, where an
-- update moves a row to the end of its table. LEFT JOINs keep an asset whose lookup row is
-- missing in the list. Employee is built as the editor's employee list builds it, so the
-- editor can find it there.
CREATE VIEW qryAssets AS
SELECT
    Assets.AssetID,
    Employees.LastName || ', ' || Employees.FirstName AS Employee,
    Vendors.VendorName,
    [Asset Categories].AssetCategory,
    Status.Status,
    Departments.DepartmentName,
    Assets.NextSchedMaint,
    Assets.AssetDescription,
    Assets.DateAcquired,
    Assets.DateSold,
    Assets.ModelNumber,
    Assets.SerialNumber,
    Assets.BarcodeNumber,
    Assets.PurchasePrice,
    Assets.CurrentValue,
    Assets.DepreciationMethod,
    Assets.DepreciableLife,
    Assets.SalvageValue,
    Assets.Comments
FROM Assets
    LEFT JOIN Employees ON Employees.EmployeeID = Assets.EmployeeID
    LEFT JOIN Vendors ON Vendors.VendorID = Assets.VendorID
    LEFT JOIN [Asset Categories]
        ON [Asset Categories].AssetCategoryID = Assets.AssetCategoryID
    LEFT JOIN Status ON Status.StatusID = Assets.StatusID
    LEFT JOIN Departments ON Departments.DepartmentID = Assets.DepartmentID
ORDER BY Assets.AssetID;
