// Prints a table of a Jet database through mdb-reader, as CSV in jetsql's conventions, so the
// engine tests can compare our rows with an independent reader.
//
//   node mdbread.mjs FILE          user table names, one per line
//   node mdbread.mjs FILE TABLE    the table as CSV (system tables too)
//
// CSV: header row, LF line ends, a field quoted when it holds a comma, quote, CR or LF; null is
// an empty field, an empty string is "". Booleans true/false, dates "YYYY-MM-DD HH:MM:SS"
// (UTC, rounded to the second), binary and OLE as upper-case hex, numbers as mdb-reader gives
// them.
import MDBReader from "mdb-reader";
import { readFileSync } from "node:fs";

function quote(text) {
    if (text === "" || /[",\r\n]/.test(text)) return '"' + text.replaceAll('"', '""') + '"';
    return text;
}

function pad(number, width) {
    return String(number).padStart(width, "0");
}

function formatDate(date) {
    const rounded = new Date(Math.round(date.getTime() / 1000) * 1000);
    return `${pad(rounded.getUTCFullYear(), 4)}-${pad(rounded.getUTCMonth() + 1, 2)}-${pad(rounded.getUTCDate(), 2)} ` +
        `${pad(rounded.getUTCHours(), 2)}:${pad(rounded.getUTCMinutes(), 2)}:${pad(rounded.getUTCSeconds(), 2)}`;
}

function formatValue(value) {
    if (value === null || value === undefined) return "";
    if (typeof value === "boolean") return value ? "true" : "false";
    if (value instanceof Date) return formatDate(value);
    if (Buffer.isBuffer(value)) return value.toString("hex").toUpperCase();
    if (typeof value === "string") return quote(value);
    return quote(String(value));
}

const [file, tableName] = process.argv.slice(2);
if (!file) {
    process.stderr.write("usage: node mdbread.mjs FILE [TABLE]\n");
    process.exit(2);
}
try {
    const reader = new MDBReader(readFileSync(file));
    if (!tableName) {
        for (const name of reader.getTableNames()) process.stdout.write(name + "\n");
    } else {
        const table = reader.getTable(tableName);
        const names = table.getColumnNames();
        const lines = [names.map(quote).join(",")];
        for (const row of table.getData()) lines.push(names.map((name) => formatValue(row[name])).join(","));
        process.stdout.write(lines.join("\n") + "\n");
    }
} catch (error) {
    process.stderr.write(`mdbread.mjs: ${error.message}\n`);
    process.exit(1);
}
