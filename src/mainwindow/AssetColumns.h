#pragma once

#include "platform/ui/ListView.h"

#include <array>

// One column of the asset list: its caption, the qryAssets column it shows and how it sorts.
struct AssetColumn
{
    const char* caption;
    const char* field;
    ListView::SortKind kind;
};

// The 19 columns of the asset list in their order: the asset's id, then the 18 sub-items.
// Ids, dates, money and numbers sort by value, the rest by text.
inline constexpr std::array<AssetColumn, 19> kAssetColumns{{
    {"ID", "AssetID", ListView::SortKind::Value},
    {"Employee", "Employee", ListView::SortKind::Text},
    {"Vendor Name", "VendorName", ListView::SortKind::Text},
    {"Asset Category", "AssetCategory", ListView::SortKind::Text},
    {"Status", "Status", ListView::SortKind::Text},
    {"Department Name", "DepartmentName", ListView::SortKind::Text},
    {"Next Maintenance", "NextSchedMaint", ListView::SortKind::Value},
    {"Description", "AssetDescription", ListView::SortKind::Text},
    {"Date Acquired", "DateAcquired", ListView::SortKind::Value},
    {"Date Sold", "DateSold", ListView::SortKind::Value},
    {"Model Number", "ModelNumber", ListView::SortKind::Text},
    {"Serial Number", "SerialNumber", ListView::SortKind::Text},
    {"Barcode Number", "BarcodeNumber", ListView::SortKind::Text},
    {"Purchase Price", "PurchasePrice", ListView::SortKind::Value},
    {"Current Value", "CurrentValue", ListView::SortKind::Value},
    {"Depreciation Method", "DepreciationMethod", ListView::SortKind::Text},
    {"Depreciable Life", "DepreciableLife", ListView::SortKind::Value},
    {"Salvage Value", "SalvageValue", ListView::SortKind::Value},
    {"Comments", "Comments", ListView::SortKind::Text},
}};
