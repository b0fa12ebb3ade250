#include "demotables.h"

namespace {

const TDemoTable kTables[] = {
    {"COUNTRIES", "", "Countries of the world", "Страны", "Countries"},
    {"CITIES", "", "Cities by country", "Города", "Cities"},
    {"ADDRESSES", "", "Postal addresses", "Адреса", "Addresses"},
    {"CURRENCIES", "", "Currencies and rates", "Валюты", "Currencies"},
    {"BANKS", "", "Banks", "Банки", "Banks"},
    {"ACCOUNTS", "", "Bank accounts", "Счета", "Accounts"},
    {"CLIENTS", "", "Clients of the company", "Клиенты", "Clients"},
    {"CLIENT_CONTACTS", "", "Contact persons", "Контакты клиентов", "Client contacts"},
    {"SUPPLIERS", "", "Suppliers", "Поставщики", "Suppliers"},
    {"CATEGORIES", "", "Product categories", "Категории", "Categories"},
    {"PRODUCTS", "", "Products and services", "Товары", "Products"},
    {"PRICE_LISTS", "", "Price lists", "Прайс-листы", "Price lists"},
    {"DISCOUNTS", "", "Discount rules", "Скидки", "Discounts"},
    {"WAREHOUSES", "", "Warehouses", "Склады", "Warehouses"},
    {"STOCK", "", "Stock by warehouse", "Остатки", "Stock"},
    {"DEPARTMENTS", "", "Departments", "Отделы", "Departments"},
    {"EMPLOYEES", "", "Employees", "Сотрудники", "Employees"},
    {"DOCUMENTS", "", "Base of all documents", "Документы", "Documents"},
    {"ORDERS", "DOCUMENTS", "Customer orders", "Заказы", "Orders"},
    {"ORDER_ITEMS", "", "Lines of orders", "Строки заказов", "Order items"},
    {"INVOICES", "DOCUMENTS", "Invoices", "Счета-фактуры", "Invoices"},
    {"PAYMENTS", "DOCUMENTS", "Incoming payments", "Платежи", "Payments"},
    {"CONTRACTS", "DOCUMENTS", "Contracts", "Договоры", "Contracts"},
    {"SHIPMENTS", "DOCUMENTS", "Shipments", "Отгрузки", "Shipments"},
    {"CARRIERS", "", "Carriers", "Перевозчики", "Carriers"},
    {"PROJECTS", "", "Projects", "Проекты", "Projects"},
    {"TASKS", "", "Project tasks", "Задачи", "Tasks"},
    {"NOTES", "", "Free notes", "Заметки", "Notes"},
    {"ATTACHMENTS", "", "Attached files", "Вложения", "Attachments"},
    {"DOC_STATUS_HISTORY", "", "History of document statuses", "История статусов",
     "Status history"},
    {"AUDIT_LOG", "", "Changes made by users", "Журнал изменений", "Audit log"},
    {"EXCHANGE_RATES", "", "Daily exchange rates", "Курсы валют", "Exchange rates"},
};

}  // namespace

std::span<const TDemoTable> DemoTables() {
    return kTables;
}
