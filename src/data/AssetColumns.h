#pragma once

#include <array>
#include <string_view>

// What a column of the asset list holds; it says how the list sorts the column and how a
// spreadsheet file carries it.
enum class AssetValue { Key, Lookup, Text, Date, Money, Number };

// One column of the asset list: its caption, the qryAssets column it shows and its values.
struct AssetColumn
{
    const char* caption;
    const char* field;
    AssetValue value;
};

// The 19 columns of the asset list in their order: the asset's id, then the 18 sub-items.
inline constexpr std::array<AssetColumn, 19> kAssetColumns{{
    {"ID", "AssetID", AssetValue::Key},
    {"Employee", "Employee", AssetValue::Lookup},
    {"Vendor Name", "VendorName", AssetValue::Lookup},
    {"Asset Category", "AssetCategory", AssetValue::Lookup},
    {"Status", "Status", AssetValue::Lookup},
    {"Department Name", "DepartmentName", AssetValue::Lookup},
    {"Next Maintenance", "NextSchedMaint", AssetValue::Date},
    {"Description", "AssetDescription", AssetValue::Text},
    {"Date Acquired", "DateAcquired", AssetValue::Date},
    {"Date Sold", "DateSold", AssetValue::Date},
    {"Model Number", "ModelNumber", AssetValue::Text},
    {"Serial Number", "SerialNumber", AssetValue::Text},
    {"Barcode Number", "BarcodeNumber", AssetValue::Text},
    {"Purchase Price", "PurchasePrice", AssetValue::Money},
    {"Current Value", "CurrentValue", AssetValue::Money},
    {"Depreciation Method", "DepreciationMethod", AssetValue::Text},
    {"Depreciable Life", "DepreciableLife", AssetValue::Number},
    {"Salvage Value", "SalvageValue", AssetValue::Money},
    {"Comments", "Comments", AssetValue::Text},
}};

// Ids, dates, money and numbers sort by value, the rest by text.
constexpr bool SortsByValue(AssetValue value)
{
    return value != AssetValue::Lookup && value != AssetValue::Text;
}

// The position of a qryAssets column in the list; -1 for a column the list does not show.
constexpr int AssetColumnOf(std::string_view field)
{
    for (size_t column = 0; column < kAssetColumns.size(); ++column)
        if (field == kAssetColumns[column].field)
            return int(column);
    return -1;
}
